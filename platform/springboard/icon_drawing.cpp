#include "springboard/icon_drawing.h"

#include "springboard/application_registry.h"
#include "uikit/bezier_path.h"
#include "uikit/color.h"
#include "uikit/drawing.h"
#include "uikit/font.h"
#include "uikit/image.h"

#include <algorithm>

namespace springboard {

namespace {

// The platform's icons round their corners by a little under a quarter of their side.
constexpr CGFloat kCornerRatio = 0.225;

struct Rgb {
    double red, green, blue;
};

// Draws a rounded square of the colour with a centred white glyph into a new image.
std::shared_ptr<UIImage> drawTile(CGSize size, CGFloat cornerRadius, Rgb colour, const std::string& glyph,
                                  CGFloat glyphSize, CGFloat scale)
{
    UIGraphicsBeginImageContextWithOptions(size, false, scale);
    cairo_t* cr = UIGraphicsGetCurrentContext();
    if (!cr) {
        UIGraphicsEndImageContext();
        return nullptr;
    }
    const CGRect tile = CGRectMake(0, 0, size.width, size.height);
    UIBezierPath::bezierPathWithRoundedRectCornerRadius(tile, cornerRadius)->addToCairo(cr);
    // A slight vertical gradient keeps the tile from looking flat at home-screen size.
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, size.height);
    cairo_pattern_add_color_stop_rgb(gradient, 0, std::min(1.0, colour.red * 1.12 + 0.04),
                                     std::min(1.0, colour.green * 1.12 + 0.04), std::min(1.0, colour.blue * 1.12 + 0.04));
    cairo_pattern_add_color_stop_rgb(gradient, 1, colour.red * 0.9, colour.green * 0.9, colour.blue * 0.9);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);

    if (!glyph.empty()) {
        NSStringAttributes attributes;
        attributes.font = UIFont::boldSystemFontOfSize(glyphSize);
        attributes.foregroundColor = UIColor::whiteColor();
        attributes.alignment = NSTextAlignment::Center;
        const CGSize text = NSStringSizeWithAttributes(glyph, attributes);
        const CGRect box = CGRectMake(0, (size.height - text.height) / 2, size.width, text.height);
        NSStringDrawInRect(glyph, box, attributes);
    }
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

std::shared_ptr<UIImage> drawSquareIcon(Rgb colour, const std::string& glyph, long format, CGFloat scale)
{
    const CGFloat side = iconSide(format);
    return drawTile(CGSizeMake(side, side), side * kCornerRatio, colour, glyph, side * 0.5, scale);
}

} // namespace

CGFloat iconSide(long format)
{
    switch (format) {
    case kIconFormatSmall:
        return 29;
    case kIconFormatSearch:
        return 40;
    default:
        return 60;
    }
}

std::shared_ptr<UIImage> drawApplicationIcon(const InstalledApplication& application, long format, CGFloat scale)
{
    return drawSquareIcon({application.red, application.green, application.blue}, application.glyph, format, scale);
}

std::shared_ptr<UIImage> drawGenericApplicationIcon(long format, CGFloat scale)
{
    return drawSquareIcon({0.62, 0.62, 0.64}, "", format, scale);
}

std::shared_ptr<UIImage> drawSystemAlertIcon(CGFloat scale)
{
    return drawSquareIcon({1.0, 0.58, 0.0}, "!", kIconFormatSmall, scale);
}

std::shared_ptr<UIImage> drawCardThumbnail(const std::string& title, CGFloat scale)
{
    std::string initial;
    if (!title.empty()) {
        // One whole UTF-8 character, however many bytes it takes.
        std::size_t length = 1;
        while (length < title.size() && (static_cast<unsigned char>(title[length]) & 0xC0) == 0x80)
            ++length;
        initial = title.substr(0, length);
    }
    return drawTile(CGSizeMake(60, 40), 6, {0.20, 0.47, 0.96}, initial, 20, scale);
}

} // namespace springboard
