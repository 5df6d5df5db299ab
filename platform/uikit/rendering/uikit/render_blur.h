// The Gaussian-like blur behind blur backdrops and layer shadows: three box passes in each
// direction over premultiplied ARGB32 pixels.
#pragma once

#include <cairo.h>
#include <cstdint>

namespace uikit {

// A rectangle of whole pixels.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const PixelRect&) const = default;
};

PixelRect intersect(PixelRect a, PixelRect b);
// The rectangle grown by n pixels on every side.
PixelRect expand(PixelRect r, int n);

// Blurs a block of premultiplied ARGB32 pixels in place (stride in bytes). Three box passes of
// the given radius per direction: close to a Gaussian with a standard deviation of about the
// radius. Pixels past the block's edges repeat its edge pixels. A radius of 0 leaves the block;
// radii above 127 pixels count as 127.
void boxBlur(std::uint8_t* pixels, int width, int height, int stride, int radius);

// A new ARGB32 surface holding `area` of the source surface, blurred with `radius` pixels. What
// is sampled is `area` grown by the radius, within the source: beyond that the edge pixels
// repeat, so content far outside the area never bleeds in. nullptr when the area lies outside
// the source or the source is not an ARGB32 image surface.
cairo_surface_t* blurredCopy(cairo_surface_t* source, PixelRect area, int radius);

} // namespace uikit
