#include "uikit/render_paint.h"

#include "uikit/bezier_path.h"
#include "uikit/color.h"
#include "uikit/image.h"
#include "uikit/layer.h"
#include "uikit/render_image_cache.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace uikit {

bool isDrawable(CGRect rect)
{
    return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) && std::isfinite(rect.size.width) &&
           std::isfinite(rect.size.height) && rect.size.width >= 0 && rect.size.height >= 0;
}

CGFloat clampedCornerRadius(CGRect rect, CGFloat radius)
{
    if (!(radius > 0) || !std::isfinite(radius))
        return 0;
    return std::min({radius, rect.size.width / 2, rect.size.height / 2});
}

void appendRoundedRect(cairo_t* cr, CGRect rect, CGFloat radius)
{
    const CGFloat r = clampedCornerRadius(rect, radius);
    const CGFloat x = rect.origin.x, y = rect.origin.y, w = rect.size.width, h = rect.size.height;
    if (r <= 0) {
        cairo_rectangle(cr, x, y, w, h);
        return;
    }
    constexpr double pi = std::numbers::pi;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

void setSourceColor(cairo_t* cr, const CGColor& color, double alpha)
{
    cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha * alpha);
}

void setSourceColor(cairo_t* cr, const UIColor& color, double alpha)
{
    cairo_set_source_rgba(cr, color.red(), color.green(), color.blue(), color.alpha() * alpha);
}

std::uint32_t cairoPixel(const CGColor& color, double alpha)
{
    const auto unit = [](double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; };
    const double a = unit(color.alpha * alpha);
    // Cairo keeps 16 bits per channel, rounded; the pixels take the upper 8.
    const auto channel = [a](double v) { return static_cast<std::uint32_t>(v * a * 65535.0 + 0.5) >> 8; };
    return channel(1.0) << 24 | channel(unit(color.red)) << 16 | channel(unit(color.green)) << 8 |
           channel(unit(color.blue));
}

bool isVisible(const CGColorRef& color, double alpha) { return color && color->alpha * alpha > 0; }

void fillRoundedRect(cairo_t* cr, CGRect rect, CGFloat radius, const CGColor& color, double alpha)
{
    if (!isDrawable(rect) || CGRectIsEmpty(rect))
        return;
    appendRoundedRect(cr, rect, radius);
    setSourceColor(cr, color, alpha);
    cairo_fill(cr);
}

namespace {

// What the coverage of a rounded rectangle's end depends on, in device pixels.
struct EndKey {
    int width = 0, rows = 0;
    double radiusX = 0, radiusY = 0;
    bool top = false;
    bool operator==(const EndKey&) const = default;
};

struct KeptEnd {
    EndKey key;
    cairo_surface_t* mask = nullptr;
};

struct KeptEnds {
    std::vector<KeptEnd> entries;
    ~KeptEnds() { clear(); }
    void clear()
    {
        for (auto& entry : entries)
            cairo_surface_destroy(entry.mask);
        entries.clear();
    }
};

} // namespace

void fillRoundedEnd(cairo_t* cr, CGRect rect, CGFloat radius, int rows, bool top, const CGColor& color,
                    double alpha)
{
    constexpr std::size_t kKept = 64;
    static thread_local KeptEnds kept;
    const CGFloat r = clampedCornerRadius(rect, radius);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    double x0 = rect.origin.x, y0 = rect.origin.y, x1 = CGRectGetMaxX(rect), y1 = CGRectGetMaxY(rect);
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    const int left = static_cast<int>(std::lround(x0)), width = static_cast<int>(std::lround(x1)) - left;
    const int firstRow = top ? static_cast<int>(std::lround(y0)) : static_cast<int>(std::lround(y1)) - rows;
    if (width <= 0 || rows <= 0)
        return;
    const EndKey key{width, rows, r * m.xx, r * m.yy, top};
    cairo_surface_t* mask = nullptr;
    for (const auto& entry : kept.entries)
        if (entry.key == key)
            mask = entry.mask;
    if (!mask) {
        // The outline with the same arcs as appendRoundedRect's, closed straight across, drawn with
        // the end's first row at the mask's top.
        mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, rows);
        if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
            // No memory for a mask: the shape, cut to the end's rows.
            cairo_surface_destroy(mask);
            cairo_save(cr);
            cairo_identity_matrix(cr);
            cairo_rectangle(cr, left, firstRow, width, rows);
            cairo_clip(cr);
            cairo_set_matrix(cr, &m);
            fillRoundedRect(cr, rect, radius, color, alpha);
            cairo_restore(cr);
            return;
        }
        cairo_t* mcr = cairo_create(mask);
        cairo_matrix_t moved = m;
        moved.x0 -= left;
        moved.y0 -= firstRow;
        cairo_set_matrix(mcr, &moved);
        const CGFloat x = rect.origin.x, y = rect.origin.y, w = rect.size.width, h = rect.size.height;
        const CGFloat depth = rows / m.yy;
        constexpr double pi = std::numbers::pi;
        cairo_new_sub_path(mcr);
        if (top) {
            cairo_arc(mcr, x + w - r, y + r, r, -pi / 2, 0);
            cairo_line_to(mcr, x + w, y + depth);
            cairo_line_to(mcr, x, y + depth);
            cairo_arc(mcr, x + r, y + r, r, pi, 3 * pi / 2);
        } else {
            cairo_move_to(mcr, x + w, y + h - depth);
            cairo_arc(mcr, x + w - r, y + h - r, r, 0, pi / 2);
            cairo_arc(mcr, x + r, y + h - r, r, pi / 2, pi);
            cairo_line_to(mcr, x, y + h - depth);
        }
        cairo_close_path(mcr);
        cairo_fill(mcr);
        cairo_destroy(mcr);
        if (kept.entries.size() >= kKept)
            kept.clear();
        kept.entries.push_back({key, mask});
    }
    cairo_save(cr);
    cairo_identity_matrix(cr);
    setSourceColor(cr, color, alpha);
    cairo_mask_surface(cr, mask, left, firstRow);
    cairo_restore(cr);
}

void strokeBorder(cairo_t* cr, CGRect rect, CGFloat radius, CGFloat width, const CGColor& color, double alpha)
{
    if (!isDrawable(rect) || CGRectIsEmpty(rect) || !(width > 0) || !std::isfinite(width))
        return;
    radius = clampedCornerRadius(rect, radius);
    // The ring between the outline and the outline moved inwards by the width; a border wider
    // than half the rectangle simply fills it.
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    appendRoundedRect(cr, rect, radius);
    const CGRect inner = CGRectInset(rect, width, width);
    if (inner.size.width > 0 && inner.size.height > 0)
        appendRoundedRect(cr, inner, std::max<CGFloat>(0, radius - width));
    setSourceColor(cr, color, alpha);
    cairo_fill(cr);
    cairo_restore(cr);
}

void fillGradient(cairo_t* cr, const CAGradientLayer& gradient, CGRect rect, double alpha)
{
    const auto& colors = gradient.colors();
    if (colors.empty() || !isDrawable(rect) || CGRectIsEmpty(rect))
        return;
    const CGPoint s = gradient.startPoint(), e = gradient.endPoint();
    if (!std::isfinite(s.x) || !std::isfinite(s.y) || !std::isfinite(e.x) || !std::isfinite(e.y))
        return;
    cairo_pattern_t* pattern = cairo_pattern_create_linear(
        rect.origin.x + s.x * rect.size.width, rect.origin.y + s.y * rect.size.height,
        rect.origin.x + e.x * rect.size.width, rect.origin.y + e.y * rect.size.height);
    const std::size_t n = colors.size();
    for (std::size_t i = 0; i < n; ++i) {
        // A missing colour in the list is drawn as clear, keeping the spacing of the others.
        const CGColor color = colors[i] ? *colors[i] : CGColor{0, 0, 0, 0};
        const double offset = n == 1 ? 0.0 : static_cast<double>(i) / static_cast<double>(n - 1);
        cairo_pattern_add_color_stop_rgba(pattern, offset, color.red, color.green, color.blue, color.alpha * alpha);
    }
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

void fillShape(cairo_t* cr, const CAShapeLayer& shape, double alpha)
{
    if (!shape.path() || !isVisible(shape.fillColor(), alpha))
        return;
    cairo_new_path(cr);
    shape.path()->addToCairo(cr);
    setSourceColor(cr, *shape.fillColor(), alpha);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_fill(cr);
}

void drawImage(cairo_t* cr, const UIImage& image, CGRect rect, double alpha, const UIColor* tint)
{
    if (isDrawable(rect) && !drawKeptImage(cr, image, rect, alpha, tint))
        image.drawInRect(cr, rect, tint, alpha);
}

} // namespace uikit
