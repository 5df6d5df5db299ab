#include "pixels.h"

#include <cstring>

namespace graphicstest {

Pixel pixelAt(const UIImage& image, int px, int py)
{
    cairo_surface_t* surface = image.surface();
    if (!surface || px < 0 || py < 0 || px >= image.pixelWidth() || py >= image.pixelHeight())
        return {};
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + py * cairo_image_surface_get_stride(surface);
    std::uint32_t value;
    std::memcpy(&value, row + px * 4, 4);
    const int a = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_RGB24 ? 255 : int(value >> 24);
    auto channel = [&](int shift) {
        const int c = (value >> shift) & 0xFF;
        return a == 0 ? 0 : std::min(255, (c * 255 + a / 2) / a);
    };
    return {channel(16), channel(8), channel(0), a};
}

Pixel pixelAtPoint(const UIImage& image, CGFloat x, CGFloat y)
{
    return pixelAt(image, int(x * image.scale()), int(y * image.scale()));
}

bool samePixels(const UIImage& a, const UIImage& b)
{
    if (a.pixelWidth() != b.pixelWidth() || a.pixelHeight() != b.pixelHeight())
        return false;
    for (int y = 0; y < a.pixelHeight(); ++y)
        for (int x = 0; x < a.pixelWidth(); ++x)
            if (!(pixelAt(a, x, y) == pixelAt(b, x, y)))
                return false;
    return true;
}

void writeSolidPNG(const std::string& hostPath, int width, int height, double r, double g, double b, double a)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, r, g, b, a);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(surface, hostPath.c_str());
    cairo_surface_destroy(surface);
}

} // namespace graphicstest
