#include "uikit/drawing.h"

#include "uikit/image.h"
#include "uikit/screen_scale.h"

#include <cmath>
#include <vector>

namespace {

struct ImageContext {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    CGFloat scale = 1;
};

// Each thread draws into its own contexts; those left open when the thread ends are freed.
struct ContextStack {
    std::vector<ImageContext> contexts;
    ~ContextStack()
    {
        for (ImageContext& context : contexts) {
            cairo_destroy(context.cr);
            cairo_surface_destroy(context.surface);
        }
    }
};

ContextStack& stack()
{
    static thread_local ContextStack contexts;
    return contexts;
}

// Pixels for a length in points; nonsense sizes give an empty canvas rather than a failure.
int pixelsFor(CGFloat points, CGFloat scale)
{
    const double pixels = std::ceil(points * scale);
    if (!std::isfinite(pixels) || pixels <= 0)
        return 0;
    // Cairo's limit for image surfaces; larger canvases stay empty.
    return pixels > 32767 ? 0 : static_cast<int>(pixels);
}

} // namespace

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale)
{
    if (!(std::isfinite(scale) && scale > 0))
        scale = UIMainScreenScale();
    ImageContext context;
    context.scale = scale;
    context.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelsFor(size.width, scale),
                                                 pixelsFor(size.height, scale));
    context.cr = cairo_create(context.surface);
    // An opaque canvas starts black (what an uninitialised opaque bitmap shows); any other starts
    // transparent, which a new Cairo image surface already is.
    if (opaque) {
        cairo_set_source_rgb(context.cr, 0, 0, 0);
        cairo_paint(context.cr);
    }
    cairo_scale(context.cr, scale, scale);
    stack().contexts.push_back(context);
}

void UIGraphicsBeginImageContext(CGSize size) { UIGraphicsBeginImageContextWithOptions(size, false, 1.0); }

CGContextRef UIGraphicsGetCurrentContext()
{
    auto& contexts = stack().contexts;
    return contexts.empty() ? nullptr : contexts.back().cr;
}

CGFloat UIGraphicsGetCurrentContextScale()
{
    auto& contexts = stack().contexts;
    return contexts.empty() ? 0 : contexts.back().scale;
}

std::shared_ptr<UIImage> UIGraphicsGetImageFromCurrentImageContext()
{
    auto& contexts = stack().contexts;
    if (contexts.empty())
        return nullptr;
    const ImageContext& context = contexts.back();
    cairo_surface_flush(context.surface);
    const int width = cairo_image_surface_get_width(context.surface);
    const int height = cairo_image_surface_get_height(context.surface);
    if (width == 0 || height == 0 || cairo_status(context.cr) != CAIRO_STATUS_SUCCESS)
        return nullptr;

    // A copy: drawing on in the context must not change an image already handed out.
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(copy);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, context.surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(copy);
    return UIImage::imageWithSurface(copy, context.scale);
}

void UIGraphicsEndImageContext()
{
    auto& contexts = stack().contexts;
    if (contexts.empty())
        return;
    cairo_destroy(contexts.back().cr);
    cairo_surface_destroy(contexts.back().surface);
    contexts.pop_back();
}
