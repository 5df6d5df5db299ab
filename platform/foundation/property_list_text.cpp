#include "foundation/property_list_text.h"

#include <cstdint>

namespace foundation::detail {

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t width = 0;
        std::uint32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            width = 2, code = lead & 0x1F;
        else if (lead >= 0xE0 && lead <= 0xEF)
            width = 3, code = lead & 0x0F;
        else if (lead >= 0xF0 && lead <= 0xF4)
            width = 4, code = lead & 0x07;
        else
            return false;
        if (text.size() - i < width)
            return false;
        for (std::size_t k = 1; k < width; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        const bool overlong = (width == 3 && code < 0x800) || (width == 4 && code < 0x10000);
        if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += width;
    }
    return true;
}

bool isPropertyListText(std::string_view text)
{
    return text.find('\0') == std::string_view::npos && isValidUtf8(text);
}

void appendUtf8(std::string& text, char32_t code)
{
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace foundation::detail
