// Images as the renderer last drew them. An image view shows the same picture at the same size
// and tint frame after frame, and scaling or tinting it through Cairo's filters costs far more
// than copying the pixels it came to; those pixels are kept (per thread, the last few dozen
// small pictures) and copied instead.
#pragma once

#include "uikit/geometry.h"

#include <cairo.h>

class UIColor;
class UIImage;

namespace uikit {

// Draws the image stretched into the rectangle (user space) as UIImage::drawInRect draws it,
// from kept pixels when the context only scales and moves (no rotation, no mirroring) and the
// picture is small; false when it did not draw, and the caller draws directly.
bool drawKeptImage(cairo_t* cr, const UIImage& image, CGRect rect, double alpha, const UIColor* tint);

} // namespace uikit
