#include "uikit/renderer.h"

#include "uikit/bezier_path.h"
#include "uikit/font.h"
#include "uikit/label.h"
#include "uikit/layer.h"
#include "uikit/render_backdrop.h"
#include "uikit/render_blend_mode.h"
#include "uikit/render_blur.h"
#include "uikit/render_content.h"
#include "uikit/render_fill.h"
#include "uikit/render_paint.h"
#include "uikit/view.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace uikit {

namespace {

// Deeper trees are cut off rather than overflowing the stack (a mask could name its own
// ancestor).
constexpr int kMaxDepth = 400;

double clampedOpacity(double opacity) { return std::isfinite(opacity) ? std::clamp(opacity, 0.0, 1.0) : 1.0; }

// A mask that is only a path filled with an opaque colour works as a clip, which needs no
// offscreen pixels.
bool isPathMask(const CALayer& mask)
{
    const auto* shape = dynamic_cast<const CAShapeLayer*>(&mask);
    return shape && !shape->isHidden() && shape->opacity() >= 1 && shape->fillColor() &&
           shape->fillColor()->alpha >= 1 && !shape->contents() && !shape->backgroundColor() &&
           shape->sublayers().empty() && !shape->mask() && shape->borderWidth() <= 0 &&
           shape->compositingFilter().empty();
}

cairo_surface_t* newSurface(int width, int height)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return surface;
}

// The bounding box of the pixels that are not fully transparent.
PixelRect inkedArea(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < width; ++x)
            if (row[x] >> 24) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    }
    return x1 < 0 ? PixelRect{} : PixelRect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

CGRect unionRect(CGRect a, CGRect b)
{
    const CGFloat x0 = std::min(a.origin.x, b.origin.x), y0 = std::min(a.origin.y, b.origin.y);
    const CGFloat x1 = std::max(CGRectGetMaxX(a), CGRectGetMaxX(b)), y1 = std::max(CGRectGetMaxY(a), CGRectGetMaxY(b));
    return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}

// Where a layer and everything inside it may leave marks, in the layer's own coordinates: its
// bounds, a margin for text that runs past a label's bounds, its shadow, and what its
// sublayers reach unless it clips them. An offscreen level needs no more pixels than this.
CGRect markExtent(const CALayer& layer, int depth)
{
    const UIView* view = layer.delegateView();
    CGRect extent = layer.bounds();
    if (const auto* label = dynamic_cast<const UILabel*>(view)) {
        const CGFloat margin = label->font() ? label->font()->pointSize() : 17;
        extent = CGRectInset(extent, -margin, -margin);
    }
    const bool clips = layer.masksToBounds() || (view && view->clipsToBounds());
    if (!clips && depth <= kMaxDepth) {
        for (const auto& sublayer : layer.sublayers()) {
            if (!sublayer || sublayer->isHidden())
                continue;
            const CGRect frame = sublayer->frame();
            const CGRect subBounds = sublayer->bounds();
            const CGRect inner = markExtent(*sublayer, depth + 1);
            extent = unionRect(extent, CGRectOffset(inner, frame.origin.x - subBounds.origin.x,
                                                    frame.origin.y - subBounds.origin.y));
        }
    }
    // A clipping layer casts no shadow.
    if (!clips && layer.shadowOpacity() > 0) {
        const CGFloat reach = 2 * std::max<CGFloat>(layer.shadowRadius(), 0) + 1;
        const CGRect shadow = CGRectOffset(extent, layer.shadowOffset().width, layer.shadowOffset().height);
        extent = unionRect(extent, CGRectInset(shadow, -reach, -reach));
    }
    return isDrawable(extent) ? extent : CGRectMake(-1e9, -1e9, 2e9, 2e9);
}

// The drawing of one tree. Views that must be composited as a whole (a group opacity, a
// compositing filter, an alpha mask, a shadow) are drawn into an offscreen level first; the
// levels are kept here rather than in Cairo's group stack so that a blur backdrop can see
// everything drawn behind it, whichever level it is drawn into.
class Renderer {
public:
    Renderer(cairo_surface_t* canvas, CGFloat scale)
    {
        canvas_ = {0, 0, cairo_image_surface_get_width(canvas), cairo_image_surface_get_height(canvas)};
        Level base;
        base.surface = canvas;
        base.cr = cairo_create(canvas);
        base.area = canvas_;
        cairo_scale(base.cr, scale, scale);
        levels_.push_back(base);
    }
    ~Renderer()
    {
        for (std::size_t i = levels_.size(); i-- > 0;)
            release(levels_[i], i > 0);
    }
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    void drawRoot(const UIView& view)
    {
        drawLayer(*view.layer(), 1.0, true, 0);
        cairo_surface_flush(levels_.front().surface);
    }

private:
    struct Level {
        cairo_surface_t* surface = nullptr; // owned, except the canvas
        cairo_t* cr = nullptr;              // owned
        PixelRect area;                     // where the surface lies on the canvas
        double alpha = 1;
        cairo_operator_t op = CAIRO_OPERATOR_OVER;
        cairo_surface_t* mask = nullptr; // owned; admits the level's pixels by its alpha
        const CALayer* shadow = nullptr; // casts its shadow under the level's pixels
        bool isMask = false;             // holds a mask being drawn, not part of the picture
    };

    static void release(Level& level, bool ownsSurface)
    {
        cairo_destroy(level.cr);
        if (ownsSurface && level.surface)
            cairo_surface_destroy(level.surface);
        if (level.mask)
            cairo_surface_destroy(level.mask);
        level = {};
    }

    cairo_t* cr() const { return levels_.back().cr; }

    // The current clip on the canvas, in whole pixels.
    PixelRect clipExtents() const
    {
        const Level& level = levels_.back();
        double x1, y1, x2, y2;
        cairo_save(level.cr);
        cairo_identity_matrix(level.cr);
        cairo_clip_extents(level.cr, &x1, &y1, &x2, &y2);
        cairo_restore(level.cr);
        const int ix = static_cast<int>(std::floor(x1)), iy = static_cast<int>(std::floor(y1));
        const PixelRect local{ix, iy, static_cast<int>(std::ceil(x2)) - ix, static_cast<int>(std::ceil(y2)) - iy};
        return intersect({local.x + level.area.x, local.y + level.area.y, local.width, local.height}, canvas_);
    }

    // The pixels a rectangle in the current user space covers on the canvas.
    PixelRect canvasRect(CGRect rect) const
    {
        const Level& level = levels_.back();
        double xs[4] = {rect.origin.x, CGRectGetMaxX(rect), rect.origin.x, CGRectGetMaxX(rect)};
        double ys[4] = {rect.origin.y, rect.origin.y, CGRectGetMaxY(rect), CGRectGetMaxY(rect)};
        double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
        for (int i = 0; i < 4; ++i) {
            cairo_user_to_device(level.cr, &xs[i], &ys[i]);
            x0 = std::min(x0, xs[i]), x1 = std::max(x1, xs[i]);
            y0 = std::min(y0, ys[i]), y1 = std::max(y1, ys[i]);
        }
        // Far-off rectangles are cut to the canvas before conversion to int.
        const double limit = 1 << 28;
        x0 = std::clamp(x0, -limit, limit), x1 = std::clamp(x1, -limit, limit);
        y0 = std::clamp(y0, -limit, limit), y1 = std::clamp(y1, -limit, limit);
        const int ix = static_cast<int>(std::floor(x0)), iy = static_cast<int>(std::floor(y0));
        return intersect({ix + level.area.x, iy + level.area.y, static_cast<int>(std::ceil(x1)) - ix,
                          static_cast<int>(std::ceil(y1)) - iy},
                         canvas_);
    }

    // A length in points as pixels of the current user space (along x).
    double pixels(double points) const
    {
        double dx = points, dy = 0;
        cairo_user_to_device_distance(cr(), &dx, &dy);
        return std::hypot(dx, dy);
    }

    // Opens an offscreen level over the visible part of `limit`; false when none of it is visible.
    bool pushLevel(PixelRect limit, double alpha, cairo_operator_t op, bool isMask = false)
    {
        const Level& parent = levels_.back();
        const PixelRect area = intersect(clipExtents(), limit);
        if (area.empty())
            return false;
        cairo_surface_t* surface = newSurface(area.width, area.height);
        if (!surface)
            return false;
        Level level;
        level.surface = surface;
        level.cr = cairo_create(surface);
        level.area = area;
        level.alpha = alpha;
        level.op = op;
        level.isMask = isMask;
        cairo_matrix_t matrix;
        cairo_get_matrix(parent.cr, &matrix);
        matrix.x0 += parent.area.x - area.x;
        matrix.y0 += parent.area.y - area.y;
        cairo_set_matrix(level.cr, &matrix);
        levels_.push_back(level);
        return true;
    }

    // Closes the newest level: its shadow and mask are applied, then it is composited onto the
    // level below with its opacity and operator.
    void popLevel()
    {
        Level top = levels_.back();
        levels_.pop_back();
        if (top.shadow)
            castShadow(top);
        if (top.mask)
            applyMask(top.cr, top.mask);
        const Level& parent = levels_.back();
        cairo_save(parent.cr);
        cairo_identity_matrix(parent.cr);
        cairo_set_source_surface(parent.cr, top.surface, top.area.x - parent.area.x, top.area.y - parent.area.y);
        cairo_set_operator(parent.cr, top.op);
        cairo_paint_with_alpha(parent.cr, top.alpha);
        cairo_restore(parent.cr);
        release(top, true);
    }

    static void applyMask(cairo_t* cr, cairo_surface_t* mask)
    {
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_reset_clip(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
        cairo_set_source_surface(cr, mask, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
    }

    // The shadow is the alpha of everything the layer drew, blurred, offset and coloured,
    // slipped in underneath it.
    void castShadow(Level& level)
    {
        const CALayer& layer = *level.shadow;
        const PixelRect inked = inkedArea(level.surface);
        if (inked.empty())
            return;
        double radius = std::isfinite(layer.shadowRadius()) ? std::max<CGFloat>(layer.shadowRadius(), 0) : 0;
        double dx = layer.shadowOffset().width, dy = layer.shadowOffset().height;
        if (!std::isfinite(dx) || !std::isfinite(dy))
            dx = dy = 0;
        cairo_user_to_device_distance(level.cr, &dx, &dy);
        // The shadow radius is read as twice the Gaussian's deviation, in points.
        double rx = radius / 2, ry = 0;
        cairo_user_to_device_distance(level.cr, &rx, &ry);
        const int blur = static_cast<int>(std::lround(std::min(std::hypot(rx, ry), 127.0)));
        const PixelRect box = expand(inked, 3 * blur + 1);
        cairo_surface_t* shadow = newSurface(box.width, box.height);
        if (!shadow)
            return;
        cairo_t* scr = cairo_create(shadow);
        cairo_set_source_surface(scr, level.surface, -box.x, -box.y);
        cairo_paint(scr);
        cairo_destroy(scr);
        cairo_surface_flush(shadow);
        boxBlur(cairo_image_surface_get_data(shadow), box.width, box.height, cairo_image_surface_get_stride(shadow),
                blur);
        cairo_surface_mark_dirty(shadow);

        const CGColor& color = *layer.shadowColor();
        cairo_save(level.cr);
        cairo_identity_matrix(level.cr);
        cairo_set_operator(level.cr, CAIRO_OPERATOR_DEST_OVER);
        cairo_set_source_rgba(level.cr, color.red, color.green, color.blue,
                              color.alpha * clampedOpacity(layer.shadowOpacity()));
        cairo_mask_surface(level.cr, shadow, box.x + dx, box.y + dy);
        cairo_restore(level.cr);
        cairo_surface_destroy(shadow);
    }

    // Everything composited so far over an area of the canvas, as it would show if nothing
    // more were drawn: the canvas with the open levels laid over it.
    cairo_surface_t* flattened(PixelRect area) const
    {
        cairo_surface_t* result = newSurface(area.width, area.height);
        if (!result)
            return nullptr;
        cairo_t* out = cairo_create(result);
        for (std::size_t i = 0; i < levels_.size(); ++i) {
            const Level& level = levels_[i];
            if (level.isMask)
                continue;
            cairo_surface_t* source = level.surface;
            cairo_surface_t* masked = nullptr;
            if (level.mask && (masked = newSurface(level.area.width, level.area.height))) {
                cairo_t* mcr = cairo_create(masked);
                cairo_set_source_surface(mcr, level.surface, 0, 0);
                cairo_paint(mcr);
                applyMask(mcr, level.mask);
                cairo_destroy(mcr);
                source = masked;
            }
            cairo_set_source_surface(out, source, level.area.x - area.x, level.area.y - area.y);
            cairo_set_operator(out, i == 0 ? CAIRO_OPERATOR_SOURCE : level.op);
            cairo_paint_with_alpha(out, i == 0 ? 1.0 : level.alpha);
            if (masked)
                cairo_surface_destroy(masked);
        }
        cairo_destroy(out);
        cairo_surface_flush(result);
        return result;
    }

    // The backdrop's blur: what lies behind its bounds, blurred, replaces them. Where nothing
    // but the blur decides those pixels, the tint (a pixel as Cairo fills it; 0 for none) is
    // laid over in the same pass: true when it was.
    bool drawBlur(CGRect bounds, CGFloat cornerRadius, CGFloat blurRadius, double alpha, std::uint32_t tint)
    {
        const int radius = static_cast<int>(std::lround(std::min(pixels(blurRadius), 127.0)));
        if (radius <= 0 || alpha <= 0)
            return false;
        const PixelRect area = intersect(canvasRect(bounds), clipExtents());
        if (area.empty())
            return false;
        const Level& level = levels_.back();
        cairo_surface_t* blurred = nullptr;
        if (levels_.size() == 1) {
            cairo_surface_flush(level.surface);
            std::uint8_t* canvas = cairo_image_surface_get_data(level.surface);
            const int stride = cairo_image_surface_get_stride(level.surface);
            const PixelBlock block{canvas, canvas_.width, canvas_.height, stride};
            std::uint8_t* areaPixels = canvas + static_cast<std::size_t>(area.y) * stride + area.x * 4;
            if (alpha >= 1 && coversWholly(bounds, cornerRadius, area)) {
                // Nothing but the blur decides these pixels: the canvas is blurred in place.
                blurArea(block, area, radius, areaPixels, stride, tint);
                cairo_surface_mark_dirty_rectangle(level.surface, area.x, area.y, area.width, area.height);
                return true;
            }
            blurred = blurredPixels(area.width, area.height);
            if (blurred)
                blurArea(block, area, radius, cairo_image_surface_get_data(blurred),
                         cairo_image_surface_get_stride(blurred));
        } else {
            const PixelRect sampled = intersect(expand(area, radius), canvas_);
            cairo_surface_t* behind = flattened(sampled);
            if (!behind)
                return false;
            blurred = blurredCopy(behind, {area.x - sampled.x, area.y - sampled.y, area.width, area.height}, radius);
            cairo_surface_destroy(behind);
        }
        if (!blurred)
            return false;
        cairo_t* c = level.cr;
        cairo_save(c);
        appendRoundedRect(c, bounds, cornerRadius);
        cairo_clip(c);
        cairo_identity_matrix(c);
        // SOURCE with an opacity cross-fades: a fading backdrop shows the sharp picture through.
        cairo_set_operator(c, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(c, blurred, area.x - level.area.x, area.y - level.area.y);
        cairo_paint_with_alpha(c, alpha);
        cairo_restore(c);
        cairo_surface_finish(blurred);
        cairo_surface_destroy(blurred);
        return false;
    }

    // Whether painting the (rounded) bounds in the current user space covers every pixel of
    // `area` on the canvas fully and nothing else: square corners on whole pixels, and a clip
    // made of whole-pixel rectangles, one of which holds the area.
    bool coversWholly(CGRect bounds, CGFloat cornerRadius, PixelRect area) const
    {
        cairo_t* c = cr();
        cairo_matrix_t m;
        cairo_get_matrix(c, &m);
        if (m.xy != 0 || m.yx != 0 || clampedCornerRadius(bounds, cornerRadius) > 0)
            return false;
        double x0 = bounds.origin.x, y0 = bounds.origin.y, x1 = CGRectGetMaxX(bounds), y1 = CGRectGetMaxY(bounds);
        cairo_user_to_device(c, &x0, &y0);
        cairo_user_to_device(c, &x1, &y1);
        const auto whole = [](double v) { return std::abs(v - std::round(v)) < 1e-6; };
        if (!whole(x0) || !whole(y0) || !whole(x1) || !whole(y1))
            return false;
        cairo_save(c);
        cairo_identity_matrix(c);
        cairo_rectangle_list_t* clip = cairo_copy_clip_rectangle_list(c);
        cairo_restore(c);
        // The clip is in the level's pixels.
        const PixelRect local = levelRect(area);
        bool inside = false;
        if (clip->status == CAIRO_STATUS_SUCCESS)
            for (int i = 0; i < clip->num_rectangles && !inside; ++i) {
                const cairo_rectangle_t& r = clip->rectangles[i];
                inside = r.x <= local.x && r.y <= local.y && r.x + r.width >= local.x + local.width &&
                         r.y + r.height >= local.y + local.height;
            }
        cairo_rectangle_list_destroy(clip);
        return inside;
    }

    // A rectangle of the canvas in the current level's pixels.
    PixelRect levelRect(PixelRect r) const
    {
        const PixelRect& at = levels_.back().area;
        return {r.x - at.x, r.y - at.y, r.width, r.height};
    }

    // Fills the (rounded) bounds with a colour. Where the fill covers whole pixels only, the
    // pixels are written straight into the level; with rounded corners that is every row clear
    // of the corners, and the corners' rows are laid on through kept masks. The pixels come out
    // as Cairo's fill would make them.
    void fill(CGRect bounds, CGFloat cornerRadius, const CGColor& color, double alpha)
    {
        if (!isDrawable(bounds) || CGRectIsEmpty(bounds))
            return;
        const Level& level = levels_.back();
        const PixelRect area = intersect(canvasRect(bounds), clipExtents());
        if (area.empty())
            return;
        cairo_matrix_t m;
        cairo_get_matrix(level.cr, &m);
        const CGFloat radius = clampedCornerRadius(bounds, cornerRadius);
        double left = bounds.origin.x, top = bounds.origin.y, right = CGRectGetMaxX(bounds),
               bottom = CGRectGetMaxY(bounds);
        cairo_user_to_device(level.cr, &left, &top);
        cairo_user_to_device(level.cr, &right, &bottom);
        const double limit = 1 << 28;
        if (cairo_get_operator(level.cr) != CAIRO_OPERATOR_OVER || !(m.xx > 0) || !(m.yy > 0) ||
            !(std::abs(top) < limit) || !(std::abs(bottom) < limit) || !coversWholly(bounds, 0, area)) {
            fillRoundedRect(level.cr, bounds, cornerRadius, color, alpha);
            return;
        }
        PixelRect straight = area;
        if (radius > 0) {
            // The rows the corners reach, on the canvas, go on through kept masks.
            const int corner = static_cast<int>(std::ceil(radius * m.yy - 1e-9));
            const int y0 = static_cast<int>(std::lround(top)) + level.area.y;
            const int y1 = static_cast<int>(std::lround(bottom)) + level.area.y;
            // Masks as wide as a huge shape are not worth keeping.
            constexpr double kMaxMaskPixels = 1 << 20;
            if (y1 - y0 < 2 * corner || (right - left) * corner > kMaxMaskPixels) {
                fillRoundedRect(level.cr, bounds, cornerRadius, color, alpha);
                return;
            }
            straight = intersect(area, {area.x, y0 + corner, area.width, y1 - y0 - 2 * corner});
            if (!intersect(area, {area.x, y0, area.width, corner}).empty())
                fillRoundedEnd(level.cr, bounds, radius, corner, true, color, alpha);
            if (!intersect(area, {area.x, y1 - corner, area.width, corner}).empty())
                fillRoundedEnd(level.cr, bounds, radius, corner, false, color, alpha);
        }
        if (straight.empty())
            return;
        const PixelRect local = levelRect(straight);
        cairo_surface_flush(level.surface);
        layOverRect(cairo_image_surface_get_data(level.surface), cairo_image_surface_get_stride(level.surface), local,
                    cairoPixel(color, alpha));
        cairo_surface_mark_dirty_rectangle(level.surface, local.x, local.y, local.width, local.height);
    }

    // A surface over pixels kept for the next blur (one frame blurs several panels): it is
    // used and destroyed before the next one is made.
    static cairo_surface_t* blurredPixels(int width, int height)
    {
        static thread_local std::vector<std::uint32_t> pixels;
        const std::size_t count = static_cast<std::size_t>(width) * height;
        if (pixels.size() < count)
            pixels.resize(count);
        cairo_surface_t* surface = cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(pixels.data()), CAIRO_FORMAT_ARGB32, width, height, width * 4);
        if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(surface);
            return nullptr;
        }
        return surface;
    }

    // How many separate marks a layer makes; more than one needs a level for a group opacity.
    static int marks(const CALayer& layer, const UIView* view)
    {
        int n = 0;
        n += isVisible(layer.backgroundColor(), 1) ? 1 : 0;
        n += layer.contents() ? 1 : 0;
        n += layer.borderWidth() > 0 && isVisible(layer.borderColor(), 1) ? 1 : 0;
        if (view) {
            n += backdropLook(*view) ? 2 : 0;
            n += hasViewContent(*view) ? 1 : 0;
        }
        n += dynamic_cast<const CAGradientLayer*>(&layer) || dynamic_cast<const CAShapeLayer*>(&layer) ? 1 : 0;
        for (const auto& sublayer : layer.sublayers())
            n += sublayer && !sublayer->isHidden() ? 2 : 0;
        return n;
    }

    void drawLayer(const CALayer& layer, double inherited, bool root, int depth)
    {
        if (depth > kMaxDepth || layer.isHidden())
            return;
        const double opacity = clampedOpacity(layer.opacity());
        if (opacity <= 0)
            return;
        const UIView* view = layer.delegateView();
        const CGRect frame = layer.frame();
        const CGRect bounds = layer.bounds();
        if (!isDrawable(frame) || !isDrawable(bounds))
            return;

        cairo_t* c = cr();
        cairo_save(c);
        if (root)
            cairo_translate(c, -bounds.origin.x, -bounds.origin.y);
        else
            cairo_translate(c, frame.origin.x - bounds.origin.x, frame.origin.y - bounds.origin.y);
        drawPositionedLayer(layer, view, bounds, inherited * opacity, opacity, depth);
        cairo_restore(c);
    }

    void drawPositionedLayer(const CALayer& layer, const UIView* view, CGRect bounds, double alpha, double opacity,
                             int depth)
    {
        cairo_t* c = cr();
        const bool clips = layer.masksToBounds() || (view && view->clipsToBounds());
        const bool shadow = !clips && layer.shadowOpacity() > 0 && isVisible(layer.shadowColor(), layer.shadowOpacity());
        // A layer that clips and lies wholly outside the visible area draws nothing, whatever
        // it holds; so does a leaf.
        if (!shadow && (clips || layer.sublayers().empty()) && intersect(canvasRect(bounds), clipExtents()).empty())
            return;

        const CALayer* mask = layer.mask().get();
        const bool pathMask = mask && isPathMask(*mask);
        if (pathMask) {
            const auto& path = static_cast<const CAShapeLayer*>(mask)->path();
            if (!path)
                return; // an empty mask admits nothing
            cairo_matrix_t matrix;
            cairo_get_matrix(c, &matrix);
            const CGRect maskFrame = mask->frame();
            if (!isDrawable(maskFrame))
                return;
            cairo_translate(c, maskFrame.origin.x, maskFrame.origin.y);
            cairo_new_path(c);
            path->addToCairo(c);
            cairo_set_matrix(c, &matrix);
            cairo_set_fill_rule(c, CAIRO_FILL_RULE_WINDING);
            cairo_clip(c);
        }

        const cairo_operator_t op = compositingOperator(layer.compositingFilter());
        const bool alphaMask = mask && !pathMask;
        if (op == CAIRO_OPERATOR_OVER && !alphaMask && !shadow && (opacity >= 1 || marks(layer, view) <= 1)) {
            drawBody(layer, view, bounds, alpha, depth);
            return;
        }

        PixelRect limit = canvasRect(markExtent(layer, depth));
        if (alphaMask && isDrawable(mask->frame()))
            limit = intersect(limit, canvasRect(mask->frame()));
        if (!pushLevel(limit, alpha, op))
            return;
        levels_.back().shadow = shadow ? &layer : nullptr;
        if (alphaMask)
            drawMask(*mask, depth);
        drawBody(layer, view, bounds, 1.0, depth);
        popLevel();
    }

    // Draws a mask layer into a level of its own and hands its pixels to the current level.
    void drawMask(const CALayer& mask, int depth)
    {
        const PixelRect area = levels_.back().area;
        if (!pushLevel(area, 1.0, CAIRO_OPERATOR_OVER, true)) {
            // Nothing of the mask can be drawn: it admits nothing.
            cairo_surface_t* empty = newSurface(area.width, area.height);
            levels_.back().mask = empty;
            return;
        }
        drawLayer(mask, 1.0, false, depth + 1);
        Level maskLevel = levels_.back();
        levels_.pop_back();
        cairo_destroy(maskLevel.cr);
        cairo_surface_flush(maskLevel.surface);
        levels_.back().mask = maskLevel.surface;
    }

    void drawBody(const CALayer& layer, const UIView* view, CGRect bounds, double alpha, int depth)
    {
        cairo_t* c = cr();
        const CGFloat radius = layer.cornerRadius();
        const auto backdrop = view ? backdropLook(*view) : std::nullopt;

        const bool background = isVisible(layer.backgroundColor(), alpha);
        const bool tints = backdrop && backdrop->tint.alpha * backdrop->tintAlpha > 0;
        bool tinted = false;
        if (backdrop) {
            // The tint goes on straight after the blur unless a background lies between them.
            const std::uint32_t tint =
                tints && !background ? cairoPixel(backdrop->tint, backdrop->tintAlpha * alpha) : 0;
            tinted = drawBlur(bounds, radius, backdrop->blurRadius, alpha, tint) && tint;
        }
        if (background)
            fill(bounds, radius, *layer.backgroundColor(), alpha);
        if (tints && !tinted)
            fill(bounds, radius, backdrop->tint, backdrop->tintAlpha * alpha);

        cairo_save(c);
        if (layer.masksToBounds() || (view && view->clipsToBounds())) {
            cairo_new_path(c);
            appendRoundedRect(c, bounds, radius);
            cairo_clip(c);
        }
        if (layer.contents())
            drawImage(c, *layer.contents(), bounds, alpha);
        if (view)
            drawViewContent(c, *view, alpha);
        if (const auto* gradient = dynamic_cast<const CAGradientLayer*>(&layer))
            fillGradient(c, *gradient, bounds, alpha);
        else if (const auto* shape = dynamic_cast<const CAShapeLayer*>(&layer))
            fillShape(c, *shape, alpha);
        for (const auto& sublayer : layer.sublayers())
            if (sublayer)
                drawLayer(*sublayer, alpha, false, depth + 1);
        cairo_restore(c);

        if (layer.borderWidth() > 0 && isVisible(layer.borderColor(), alpha))
            strokeBorder(c, bounds, radius, layer.borderWidth(), *layer.borderColor(), alpha);
    }

    std::vector<Level> levels_;
    PixelRect canvas_;
};

} // namespace

bool renderView(const UIView& view, cairo_surface_t* surface, CGFloat scale)
{
    if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32 || !std::isfinite(scale) || !(scale > 0))
        return false;
    Renderer renderer(surface, scale);
    renderer.drawRoot(view);
    return true;
}

} // namespace uikit
