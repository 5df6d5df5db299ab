#include "common/hex_colors.h"

#include "foundation/ns_string.h"

#include <algorithm>
#include <cstdio>
#include <regex>

std::shared_ptr<UIColor> HexColors::colorWithHexString(const std::string& hex)
{
    if (hex.size() != 6)
        return nullptr;
    static const std::regex outsideSet("[^0-9a-fA-F]");
    if (std::regex_search(hex, outsideSet))
        return nullptr;
    auto channel = [&](std::size_t at) {
        const unsigned value = std::stoul(hex.substr(at, 2), nullptr, 16);
        // Computed in single precision, then widened, as stored colours always have been.
        return static_cast<double>(static_cast<float>(value) / 255.0f);
    };
    return UIColor::colorWithRedGreenBlueAlpha(channel(0), channel(2), channel(4), 1.0);
}

std::optional<std::string> HexColors::hexValuesFromUIColor(const std::shared_ptr<UIColor>& color)
{
    if (!color)
        return std::nullopt;
    if (color == UIColor::whiteColor())
        return std::string("ffffff");
    double red = 0, green = 0, blue = 0, alpha = 0;
    color->getRedGreenBlueAlpha(&red, &green, &blue, &alpha);
    // Truncated toward zero; components outside 0..1 are held to it so that the result is
    // always six digits that colorWithHexString: reads back.
    auto channel = [](double component) { return std::clamp(static_cast<int>(component * 255.0), 0, 255); };
    char text[7];
    std::snprintf(text, sizeof text, "%02x%02x%02x", channel(red), channel(green), channel(blue));
    return std::string(text);
}

namespace {

objc::id colorWithHexStringImp(objc::Object*, objc::SEL, const objc::ObjectRef& hex)
{
    const auto* text = dynamic_cast<const NSString*>(hex.get());
    return text ? HexColors::colorWithHexString(text->string()) : nullptr;
}

objc::id hexValuesFromUIColorImp(objc::Object*, objc::SEL, const objc::ObjectRef& color)
{
    auto hex = HexColors::hexValuesFromUIColor(color.as<UIColor>());
    return hex ? NSStr(*hex) : nullptr;
}

} // namespace

void registerHexColorsCategory()
{
    objc::Class meta = UIColor::class_()->metaClass();
    objc::class_addMethod(meta, objc::sel_registerName("colorWithHexString:"),
                          reinterpret_cast<objc::IMP>(&colorWithHexStringImp), "@@:@");
    objc::class_addMethod(meta, objc::sel_registerName("hexValuesFromUIColor:"),
                          reinterpret_cast<objc::IMP>(&hexValuesFromUIColorImp), "@@:@");
}
