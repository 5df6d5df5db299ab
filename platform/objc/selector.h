// Selectors: method names interned once, compared by pointer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace objc {

struct Selector {
    std::string name;
};
using SEL = const Selector*;

// Interns a full selector name such as "tableView:heightForRowAtIndexPath:".
SEL sel_registerName(std::string_view name);
inline SEL sel_getUid(std::string_view name) { return sel_registerName(name); }
const char* sel_getName(SEL sel);

namespace detail {
template <std::size_t N>
struct SelectorLiteral {
    char text[N];
    constexpr SelectorLiteral(const char (&s)[N]) { std::copy_n(s, N, text); }
};
} // namespace detail

// "layoutSubviews"_sel interns the name once per literal.
template <detail::SelectorLiteral L>
SEL operator""_sel()
{
    static const SEL sel = sel_registerName(L.text);
    return sel;
}

} // namespace objc

// Selector literals read the same everywhere: "layoutSubviews"_sel.
using objc::operator""_sel;
