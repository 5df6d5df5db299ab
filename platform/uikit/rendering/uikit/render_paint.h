// The drawing primitives of the renderer: rounded rectangles, fills, borders, gradients, shape
// paths and images, each with an opacity. Coordinates are the Cairo context's user space (points).
#pragma once

#include "uikit/color.h"
#include "uikit/geometry.h"

#include <cairo.h>
#include <cstdint>

class CAGradientLayer;
class CAShapeLayer;
class UIBezierPath;
class UIColor;
class UIImage;

namespace uikit {

// Whether a value can be drawn: finite geometry, no negative sizes.
bool isDrawable(CGRect rect);

// The corner radius a rectangle can take: at most half its shorter side, never negative.
CGFloat clampedCornerRadius(CGRect rect, CGFloat radius);
// Appends a rectangle with rounded corners (a plain one for radius 0) as a new sub-path.
void appendRoundedRect(cairo_t* cr, CGRect rect, CGFloat radius);

void setSourceColor(cairo_t* cr, const CGColor& color, double alpha);
void setSourceColor(cairo_t* cr, const UIColor& color, double alpha);
// The premultiplied ARGB32 pixel Cairo fills with for the colour at that opacity (channels and
// opacity kept within 0 ... 1), so that code writing pixels itself matches Cairo's fills.
std::uint32_t cairoPixel(const CGColor& color, double alpha);
// Whether a colour would leave a visible mark at that opacity.
bool isVisible(const CGColorRef& color, double alpha);

// Fills the (rounded) rectangle with a colour.
void fillRoundedRect(cairo_t* cr, CGRect rect, CGFloat radius, const CGColor& color, double alpha);
// Fills the `rows` pixel rows (at least the corner radius) at the top or bottom of a rounded
// rectangle that lies on whole pixels of a context that only scales and moves: the rows its
// corners reach, as fillRoundedRect fills them to within a level. Cairo works a rounded
// outline out slowly; its coverage is kept per shape (per thread, the last few dozen) and
// laid on as a mask.
void fillRoundedEnd(cairo_t* cr, CGRect rect, CGFloat radius, int rows, bool top, const CGColor& color,
                    double alpha);
// A border of the given width inside the (rounded) rectangle.
void strokeBorder(cairo_t* cr, CGRect rect, CGFloat radius, CGFloat width, const CGColor& color, double alpha);

// Fills the rectangle with the gradient layer's colours, spread evenly along its start and end
// points (unit coordinates of the rectangle). One colour fills flat; none draws nothing.
void fillGradient(cairo_t* cr, const CAGradientLayer& gradient, CGRect rect, double alpha);
// Fills the shape layer's path with its fill colour (non-zero winding).
void fillShape(cairo_t* cr, const CAShapeLayer& shape, double alpha);

// Draws the image stretched into the rectangle. With a tint, only the image's alpha counts
// and the pixels take the tint colour.
void drawImage(cairo_t* cr, const UIImage& image, CGRect rect, double alpha, const UIColor* tint = nullptr);

} // namespace uikit
