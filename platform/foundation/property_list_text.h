// Text in property lists: both readers and the writer hold strings and keys to the same rule
// (valid UTF-8 without NUL), so that whatever one of them accepts the others accept too.
#pragma once

#include <string>
#include <string_view>

namespace foundation::detail {

// True for well-formed UTF-8: no stray or missing continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);
// Valid UTF-8 holding no NUL: what a property-list string or key may be.
bool isPropertyListText(std::string_view text);
// Appends a code point (not a surrogate, at most U+10FFFF) as UTF-8.
void appendUtf8(std::string& text, char32_t code);

} // namespace foundation::detail
