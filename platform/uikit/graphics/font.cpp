#include "uikit/font.h"

#include "uikit/text_layout.h"

#include <array>
#include <cmath>
#include <string_view>

namespace {

constexpr const char* kSans = "DejaVu Sans";
constexpr const char* kSerif = "DejaVu Serif";
constexpr const char* kMono = "DejaVu Sans Mono";

constexpr const char* kSystemName = ".HelveticaNeueInterface-Regular";
constexpr const char* kBoldSystemName = ".HelveticaNeueInterface-Bold";

// The platform's family names (the part of a face name before "-") and the face that stands in.
struct Family {
    std::string_view name;
    const char* family;
};
constexpr std::array kFamilies{
    Family{".HelveticaNeueInterface", kSans},
    Family{".SFUIText", kSans},
    Family{".SFUIDisplay", kSans},
    Family{"HelveticaNeue", kSans},
    Family{"Helvetica Neue", kSans},
    Family{"Helvetica", kSans},
    Family{"Arial", kSans},
    Family{"ArialMT", kSans},
    Family{"DejaVu Sans", kSans},
    Family{"DejaVuSans", kSans},
    Family{"Georgia", kSerif},
    Family{"TimesNewRomanPSMT", kSerif},
    Family{"Times New Roman", kSerif},
    Family{"DejaVu Serif", kSerif},
    Family{"DejaVuSerif", kSerif},
    Family{"Courier", kMono},
    Family{"CourierNewPSMT", kMono},
    Family{"Menlo", kMono},
    Family{"DejaVu Sans Mono", kMono},
    Family{"DejaVuSansMono", kMono},
};

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// The weight a face name's style part asks for. DejaVu has Book, Bold and (Sans only)
// ExtraLight; fontconfig takes the nearest of those.
int weightOfStyle(std::string_view style)
{
    if (contains(style, "UltraLight") || contains(style, "ExtraLight") || contains(style, "Thin") ||
        contains(style, "Light"))
        return PANGO_WEIGHT_ULTRALIGHT;
    if (contains(style, "Bold") || contains(style, "Heavy") || contains(style, "Black"))
        return PANGO_WEIGHT_BOLD;
    if (contains(style, "Medium"))
        return PANGO_WEIGHT_MEDIUM;
    return PANGO_WEIGHT_NORMAL;
}

CGFloat sanePointSize(CGFloat size) { return std::isfinite(size) && size > 0 ? size : 0; }

} // namespace

std::shared_ptr<UIFont> UIFont::systemFontOfSize(CGFloat size)
{
    auto font = std::make_shared<UIFont>();
    font->name_ = kSystemName;
    font->family_ = kSans;
    font->weight_ = PANGO_WEIGHT_NORMAL;
    font->pointSize_ = sanePointSize(size);
    return font;
}

std::shared_ptr<UIFont> UIFont::boldSystemFontOfSize(CGFloat size)
{
    auto font = systemFontOfSize(size);
    font->name_ = kBoldSystemName;
    font->weight_ = PANGO_WEIGHT_BOLD;
    return font;
}

std::shared_ptr<UIFont> UIFont::fontWithNameSize(const std::string& name, CGFloat size)
{
    std::string_view base = name, style;
    if (const auto dash = name.find('-'); dash != std::string::npos) {
        base = std::string_view(name).substr(0, dash);
        style = std::string_view(name).substr(dash + 1);
    }
    for (const Family& entry : kFamilies) {
        if (entry.name != base)
            continue;
        auto font = std::make_shared<UIFont>();
        font->name_ = name;
        font->family_ = entry.family;
        font->weight_ = weightOfStyle(style);
        // DejaVu's light face exists only for the sans family.
        if (font->weight_ < PANGO_WEIGHT_NORMAL && font->family_ != kSans)
            font->weight_ = PANGO_WEIGHT_NORMAL;
        font->italic_ = contains(style, "Italic") || contains(style, "Oblique");
        font->pointSize_ = sanePointSize(size);
        return font;
    }
    return nullptr;
}

std::shared_ptr<UIFont> UIFont::fontWithSize(CGFloat size) const
{
    auto font = std::make_shared<UIFont>();
    font->name_ = name_;
    font->family_ = family_;
    font->weight_ = weight_;
    font->italic_ = italic_;
    font->pointSize_ = sanePointSize(size);
    return font;
}

CGFloat UIFont::lineHeight() const
{
    NSStringAttributes attributes;
    attributes.font = fontWithSize(pointSize_);
    return uikit::measuredTextSize("", attributes, 0).height;
}

std::string UIFont::pangoDescription() const
{
    const uikit::FontDescriptionPtr description = uikit::fontDescription(*this);
    char* text = pango_font_description_to_string(description.get());
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

std::string UIFont::description() const
{
    return "<UIFont: font-family: \"" + name_ + "\"; font-size: " + std::to_string(pointSize_) + "pt>";
}

OBJC_REGISTER(UIFont,
    c.classMethod<&UIFont::systemFontOfSize>("systemFontOfSize:");
    c.classMethod<&UIFont::boldSystemFontOfSize>("boldSystemFontOfSize:");
    c.method<&UIFont::fontWithSize>("fontWithSize:");
    c.method<&UIFont::pointSize>("pointSize");
    c.method<&UIFont::lineHeight>("lineHeight");)
