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

// A block of premultiplied ARGB32 pixels in memory (stride in bytes).
struct PixelBlock {
    const std::uint8_t* pixels = nullptr;
    int width = 0, height = 0, stride = 0;
};

// Blurs `area` of the block with `radius` pixels and writes the result (area.width ×
// area.height pixels) to `out`, which may be the area itself. What is sampled is `area` grown
// by the radius, within the block: beyond that the edge pixels repeat. Radii of 6 pixels and
// more are blurred at half resolution, 8 and more at a quarter, and scaled back up smoothly:
// the same spread as boxBlur's to within about 5%, a few levels apart at most, for a fraction
// of the work. A `tint` (a premultiplied
// ARGB32 pixel; 0 for none) is laid over the result as Cairo would fill over it, which saves
// a pass over the pixels. False (nothing written) when the area is empty or not wholly inside
// the block.
bool blurArea(const PixelBlock& source, PixelRect area, int radius, std::uint8_t* out, int outStride,
              std::uint32_t tint = 0);

// A new ARGB32 surface holding `area` of the source surface, blurred as blurArea blurs it, so
// content further outside the area than the radius never bleeds in. nullptr when the area lies
// outside the source or the source is not an ARGB32 image surface.
cairo_surface_t* blurredCopy(cairo_surface_t* source, PixelRect area, int radius);

} // namespace uikit
