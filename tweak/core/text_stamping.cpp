#include "tweak/core/text_stamping.h"

#include "common/hex_colors.h"
#include "tweak/core/settings.h"
#include "uikit/drawing.h"
#include "uikit/font.h"
#include "uikit/image.h"

namespace {

std::shared_ptr<UIImage> stamp(const std::string& text, const std::shared_ptr<UIImage>& image, CGPoint point,
                               std::shared_ptr<UIColor> color)
{
    // Nothing to draw on: a missing picture stays missing.
    if (!image)
        return nullptr;
    const CGSize size = image->size();
    UIGraphicsBeginImageContextWithOptions(size, false, 0);
    image->drawInRect(CGRectMake(0, 0, size.width, size.height));
    NSStringAttributes attributes;
    attributes.font = UIFont::boldSystemFontOfSize(16.0);
    attributes.foregroundColor = color ? std::move(color) : UIColor::whiteColor();
    NSStringDrawInRect(text, CGRectMake(point.x, point.y, size.width, size.height), attributes);
    std::shared_ptr<UIImage> result = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return result;
}

// The settings file as drawTextInImage2 last read it, and the colour it found there.
std::shared_ptr<NSDictionary> lastSettingsFile;
std::shared_ptr<UIColor> lastTextColor;

} // namespace

std::shared_ptr<UIImage> drawTextInImage(const std::string& text, const std::shared_ptr<UIImage>& image, CGPoint point)
{
    return stamp(text, image, point, vantorel::settings.glyphColor);
}

std::shared_ptr<UIImage> drawTextInImage2(const std::string& text, const std::shared_ptr<UIImage>& image, CGPoint point)
{
    lastSettingsFile = vantorel::readSettingsFile();
    lastTextColor = vantorel::settingColor(lastSettingsFile, "textColor");
    return stamp(text, image, point, lastTextColor);
}
