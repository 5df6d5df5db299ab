// Short texts (a day number, a badge count) drawn on top of a copy of an image, in the bold
// 16-point system font. The caller chooses the text and its top-left point (in the image's
// points); the result has the input's size and scale.
#pragma once

#include "uikit/geometry.h"

#include <memory>
#include <string>

class UIImage;

// In the glyph colour as last loaded by loadSettings (white when it did not parse).
std::shared_ptr<UIImage> drawTextInImage(const std::string& text, const std::shared_ptr<UIImage>& image, CGPoint point);
// In the "textColor" setting read afresh from the settings file at each call (white when it
// is absent or does not parse).
std::shared_ptr<UIImage> drawTextInImage2(const std::string& text, const std::shared_ptr<UIImage>& image, CGPoint point);
