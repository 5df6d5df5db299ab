// Image drawing contexts and text drawing, in the toolkit's C style.
#pragma once

#include "uikit/geometry.h"
#include "uikit/screen_scale.h"

#include <cairo.h>
#include <memory>
#include <string>

class UIColor;
class UIFont;
class UIImage;

using CGContextRef = cairo_t*;

enum class NSTextAlignment : long { Left = 0, Center = 1, Right = 2, Justified = 3, Natural = 4 };

// The attributes of drawn text (NSFontAttributeName, NSForegroundColorAttributeName).
struct NSStringAttributes {
    std::shared_ptr<UIFont> font;             // nil: the 12-point system font
    std::shared_ptr<UIColor> foregroundColor; // nil: black
    NSTextAlignment alignment = NSTextAlignment::Left;
};

// Opens an image context of the size in points. Scale 0 means the main screen's scale (2.0).
// Contexts nest: the newest is current. A non-opaque context starts transparent, an opaque one
// black. Its pixel size is the point size times the scale, rounded up.
void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale);
void UIGraphicsBeginImageContext(CGSize size);
// The current context (a Cairo context in points), or nullptr.
CGContextRef UIGraphicsGetCurrentContext();
// The scale of the current context, 0 without one.
CGFloat UIGraphicsGetCurrentContextScale();
// A copy of the image drawn so far in the current context, at its scale; nil without one (or
// when the context has no pixels).
std::shared_ptr<UIImage> UIGraphicsGetImageFromCurrentImageContext();
// Closes the current context; without one it does nothing.
void UIGraphicsEndImageContext();

// Draws text into the rectangle of the current context (wrapping at the rectangle's width,
// cut off at its bottom and at the canvas edges). An empty text draws nothing.
void NSStringDrawInRect(const std::string& text, CGRect rect, const NSStringAttributes& attributes);
// The same into any Cairo context in points.
void NSStringDrawInRect(cairo_t* cr, const std::string& text, CGRect rect, const NSStringAttributes& attributes);
// The size of the text on one line (width unlimited).
CGSize NSStringSizeWithAttributes(const std::string& text, const NSStringAttributes& attributes);
// The size of the text wrapped at the given width.
CGSize NSStringBoundingSize(const std::string& text, CGFloat width, const NSStringAttributes& attributes);
