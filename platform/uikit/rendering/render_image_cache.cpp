#include "uikit/render_image_cache.h"

#include "uikit/color.h"
#include "uikit/image.h"

#include <cmath>
#include <vector>

namespace uikit {

namespace {

// Pictures larger than this draw directly: they are rare, and keeping them would cost memory.
constexpr double kMaxKeptSide = 512;
constexpr std::size_t kMaxKept = 48;

// What the pixels depend on: the source, the rectangle's size on the device and where within a
// pixel it starts, and the tint. The same image at another place on whole pixels looks the same.
struct Key {
    cairo_surface_t* source = nullptr;
    double width = 0, height = 0, fractionX = 0, fractionY = 0;
    bool tinted = false;
    double red = 0, green = 0, blue = 0, alpha = 0;
    bool operator==(const Key&) const = default;
};

// A kept picture holds a reference to its source, so that the source's address cannot come
// back as another image's while the entry lives.
struct Kept {
    Key key;
    cairo_surface_t* pixels = nullptr;
    Kept(Key k, cairo_surface_t* p) : key(k), pixels(p) { cairo_surface_reference(key.source); }
    Kept(Kept&& other) noexcept : key(other.key), pixels(other.pixels) { other.key.source = other.pixels = nullptr; }
    Kept& operator=(Kept&&) = delete;
    ~Kept()
    {
        if (pixels)
            cairo_surface_destroy(pixels);
        if (key.source)
            cairo_surface_destroy(key.source);
    }
};

std::vector<Kept>& kept()
{
    static thread_local std::vector<Kept> entries;
    return entries;
}

// The image drawn as drawInRect draws it into a transparent block of whole device pixels whose
// top-left corner is (x, y) on the device.
cairo_surface_t* drawnPixels(const UIImage& image, CGRect rect, const cairo_matrix_t& matrix, int x, int y, int width,
                             int height, const UIColor* tint)
{
    cairo_surface_t* pixels = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(pixels) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(pixels);
        return nullptr;
    }
    cairo_t* cr = cairo_create(pixels);
    cairo_matrix_t moved = matrix;
    moved.x0 -= x;
    moved.y0 -= y;
    cairo_set_matrix(cr, &moved);
    image.drawInRect(cr, rect, tint, 1.0);
    cairo_destroy(cr);
    return pixels;
}

} // namespace

bool drawKeptImage(cairo_t* cr, const UIImage& image, CGRect rect, double alpha, const UIColor* tint)
{
    cairo_surface_t* source = image.surface();
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    if (!source || m.xy != 0 || m.yx != 0 || !(m.xx > 0) || !(m.yy > 0))
        return false;
    rect = CGRectStandardize(rect);
    double x0 = rect.origin.x, y0 = rect.origin.y, x1 = CGRectGetMaxX(rect), y1 = CGRectGetMaxY(rect);
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    const double limit = 1 << 24;
    if (!(x1 - x0 <= kMaxKeptSide) || !(y1 - y0 <= kMaxKeptSide) || !(std::abs(x0) < limit) ||
        !(std::abs(y0) < limit))
        return false;
    if (!(x1 > x0) || !(y1 > y0) || !(alpha > 0))
        return true; // draws nothing, as drawInRect would
    const int left = static_cast<int>(std::floor(x0)), top = static_cast<int>(std::floor(y0));
    const int width = static_cast<int>(std::ceil(x1)) - left, height = static_cast<int>(std::ceil(y1)) - top;

    Key key{source, x1 - x0, y1 - y0, x0 - left, y0 - top, tint != nullptr};
    if (tint) {
        key.red = tint->red(), key.green = tint->green(), key.blue = tint->blue();
        key.alpha = tint->alpha();
    }
    auto& entries = kept();
    cairo_surface_t* pixels = nullptr;
    for (const auto& entry : entries)
        if (entry.key == key) {
            pixels = entry.pixels;
            break;
        }
    if (!pixels) {
        pixels = drawnPixels(image, rect, m, left, top, width, height, tint);
        if (!pixels)
            return false;
        if (entries.size() >= kMaxKept)
            entries.clear();
        entries.emplace_back(key, pixels);
    }
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, pixels, left, top);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
    return true;
}

} // namespace uikit
