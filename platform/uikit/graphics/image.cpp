#include "uikit/image.h"

#include "foundation/confined_path.h"
#include "uikit/color.h"
#include "uikit/drawing.h"
#include "uikit/screen_scale.h"

#include <cmath>
#include <filesystem>
#include <system_error>

namespace {

// A PNG at a host path as an ARGB32 or RGB24 surface, or nullptr.
cairo_surface_t* loadPNG(const std::string& hostPath)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(hostPath, error))
        return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(hostPath.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return surface;
}

// The scale a file name declares: "name@2x.png" is 2, "name@3x.png" is 3, anything else 1.
CGFloat scaleOfFileName(const std::string& path)
{
    const std::string stem = std::filesystem::path(path).stem().string();
    if (stem.size() >= 3 && stem.compare(stem.size() - 3, 3, "@2x") == 0)
        return 2;
    if (stem.size() >= 3 && stem.compare(stem.size() - 3, 3, "@3x") == 0)
        return 3;
    return 1;
}

} // namespace

UIImage::~UIImage()
{
    if (surface_)
        cairo_surface_destroy(surface_);
}

std::shared_ptr<UIImage> UIImage::imageWithContentsOfFile(const std::string& devicePath)
{
    if (devicePath.empty())
        return nullptr;
    // Confined like every other file access: ".." never leaves the device root.
    const std::string host = foundation::confinedHostPath(devicePath);

    std::filesystem::path hiRes(host);
    if (hiRes.extension() == ".png" && scaleOfFileName(host) == 1) {
        hiRes.replace_filename(hiRes.stem().string() + "@2x.png");
        if (cairo_surface_t* surface = loadPNG(hiRes.string()))
            return imageWithSurface(surface, 2);
    }
    if (cairo_surface_t* surface = loadPNG(host))
        return imageWithSurface(surface, scaleOfFileName(host));
    return nullptr;
}

std::shared_ptr<UIImage> UIImage::imageWithSurface(cairo_surface_t* surface, CGFloat scale)
{
    if (!surface)
        return nullptr;
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    auto image = std::make_shared<UIImage>();
    image->surface_ = surface;
    image->scale_ = std::isfinite(scale) && scale > 0 ? scale : 1;
    return image;
}

std::shared_ptr<UIImage> UIImage::imageWithColor(const std::shared_ptr<UIColor>& color, CGFloat scale)
{
    if (!(std::isfinite(scale) && scale > 0))
        scale = UIMainScreenScale();
    const int side = std::max(1, static_cast<int>(std::ceil(scale)));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side);
    cairo_t* cr = cairo_create(surface);
    // A nil colour gives a transparent picture, as the clear colour would.
    if (color) {
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_rgba(cr, color->red(), color->green(), color->blue(), color->alpha());
        cairo_paint(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return imageWithSurface(surface, scale);
}

CGSize UIImage::size() const
{
    return CGSizeMake(pixelWidth() / scale_, pixelHeight() / scale_);
}

std::shared_ptr<UIImage> UIImage::imageWithRenderingMode(UIImageRenderingMode mode) const
{
    auto image = std::make_shared<UIImage>();
    image->surface_ = surface_ ? cairo_surface_reference(surface_) : nullptr;
    image->scale_ = scale_;
    image->renderingMode_ = mode;
    return image;
}

void UIImage::drawInRect(CGRect rect) const
{
    if (cairo_t* cr = UIGraphicsGetCurrentContext())
        drawInRect(cr, rect);
}

void UIImage::drawInRect(cairo_t* cr, CGRect rect, const UIColor* tint, double opacity) const
{
    rect = CGRectStandardize(rect);
    const int width = pixelWidth(), height = pixelHeight();
    if (!cr || !surface_ || width == 0 || height == 0 || !(opacity > 0) || CGRectIsEmpty(rect) ||
        !std::isfinite(rect.size.width) ||
        !std::isfinite(rect.size.height) || !std::isfinite(rect.origin.x) || !std::isfinite(rect.origin.y))
        return;

    cairo_save(cr);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_clip(cr);

    // The pattern maps the rectangle (user space) onto the whole pixel grid of the surface.
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface_);
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, width / rect.size.width, height / rect.size.height);
    cairo_matrix_translate(&matrix, -rect.origin.x, -rect.origin.y);
    cairo_pattern_set_matrix(pattern, &matrix);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);

    if (tint) {
        cairo_set_source_rgba(cr, tint->red(), tint->green(), tint->blue(), tint->alpha() * opacity);
        cairo_mask(cr, pattern);
    } else {
        cairo_set_source(cr, pattern);
        cairo_paint_with_alpha(cr, opacity);
    }
    cairo_pattern_destroy(pattern);
    cairo_restore(cr);
}

int UIImage::pixelWidth() const { return surface_ ? cairo_image_surface_get_width(surface_) : 0; }

int UIImage::pixelHeight() const { return surface_ ? cairo_image_surface_get_height(surface_) : 0; }

bool UIImage::writePNG(const std::string& hostPath) const
{
    if (!surface_ || hostPath.empty())
        return false;
    return cairo_surface_write_to_png(surface_, hostPath.c_str()) == CAIRO_STATUS_SUCCESS;
}

OBJC_REGISTER(UIImage,
    c.method<&UIImage::size>("size");
    c.method<&UIImage::scale>("scale");)
