#include "uikit/snapshot.h"

#include "uikit/image.h"
#include "uikit/renderer.h"
#include "uikit/screen_scale.h"
#include "uikit/view.h"

#include <cairo.h>
#include <cmath>

namespace {

// Cairo's largest image side.
constexpr double kMaxPixels = 32767;

} // namespace

std::shared_ptr<UIImage> snapshotImage(const UIView* view, CGFloat scale)
{
    if (!view)
        return nullptr;
    if (!std::isfinite(scale) || scale <= 0)
        scale = UIMainScreenScale();
    const CGSize size = view->bounds().size;
    const double width = std::ceil(size.width * scale), height = std::ceil(size.height * scale);
    if (!std::isfinite(width) || !std::isfinite(height) || width < 1 || height < 1 || width > kMaxPixels ||
        height > kMaxPixels)
        return nullptr;

    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || !uikit::renderView(*view, surface, scale)) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return UIImage::imageWithSurface(surface, scale);
}

bool snapshot(const UIView* view, const std::string& hostPath)
{
    const auto image = snapshotImage(view, UIMainScreenScale());
    return image && image->writePNG(hostPath);
}
