#include "render_pixels.h"

#include <cairo.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace rendertest {

Pixel pixelAt(const UIImage& image, int px, int py)
{
    cairo_surface_t* surface = image.surface();
    if (!surface || px < 0 || py < 0 || px >= image.pixelWidth() || py >= image.pixelHeight())
        return {};
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + py * cairo_image_surface_get_stride(surface);
    const std::uint32_t v = reinterpret_cast<const std::uint32_t*>(row)[px];
    Pixel p;
    // Opaque PNGs load without an alpha channel.
    p.alpha = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_RGB24 ? 255 : static_cast<int>(v >> 24);
    if (p.alpha == 0)
        return p;
    auto unpremultiply = [&](int c) { return (c * 255 + p.alpha / 2) / p.alpha; };
    p.red = unpremultiply((v >> 16) & 0xFF);
    p.green = unpremultiply((v >> 8) & 0xFF);
    p.blue = unpremultiply(v & 0xFF);
    return p;
}

Pixel at(const UIImage& image, CGFloat x, CGFloat y)
{
    return pixelAt(image, static_cast<int>(std::floor(x * image.scale())), static_cast<int>(std::floor(y * image.scale())));
}

bool near(const Pixel& p, int red, int green, int blue, int alpha, int tolerance)
{
    return std::abs(p.red - red) <= tolerance && std::abs(p.green - green) <= tolerance &&
           std::abs(p.blue - blue) <= tolerance && std::abs(p.alpha - alpha) <= tolerance;
}

namespace {

template <class F>
void forEachPixel(const UIImage& image, CGRect rect, F f)
{
    const CGFloat s = image.scale();
    const int x0 = static_cast<int>(std::floor(rect.origin.x * s)), y0 = static_cast<int>(std::floor(rect.origin.y * s));
    const int x1 = static_cast<int>(std::ceil(CGRectGetMaxX(rect) * s)), y1 = static_cast<int>(std::ceil(CGRectGetMaxY(rect) * s));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            f(pixelAt(image, x, y));
}

double luma(const Pixel& p) { return (0.299 * p.red + 0.587 * p.green + 0.114 * p.blue) * p.alpha / 255.0; }

} // namespace

double meanLuma(const UIImage& image, CGRect rect)
{
    double sum = 0;
    int n = 0;
    forEachPixel(image, rect, [&](const Pixel& p) { sum += luma(p), ++n; });
    return n ? sum / n : 0;
}

double lumaDeviation(const UIImage& image, CGRect rect)
{
    const double mean = meanLuma(image, rect);
    double sum = 0;
    int n = 0;
    forEachPixel(image, rect, [&](const Pixel& p) { sum += (luma(p) - mean) * (luma(p) - mean), ++n; });
    return n ? std::sqrt(sum / n) : 0;
}

int darkPixels(const UIImage& image, CGRect rect, int maxLuma, int minAlpha)
{
    int n = 0;
    forEachPixel(image, rect, [&](const Pixel& p) {
        if (p.alpha >= minAlpha && 0.299 * p.red + 0.587 * p.green + 0.114 * p.blue <= maxLuma)
            ++n;
    });
    return n;
}

std::shared_ptr<UIImage> readPNG(const std::string& hostPath, CGFloat scale)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(hostPath.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return UIImage::imageWithSurface(surface, scale);
}

} // namespace rendertest
