#include "uikit/image.h"

#include "foundation/confined_path.h"
#include "uikit/color.h"
#include "uikit/drawing.h"
#include "uikit/screen_scale.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>
#include <unordered_map>

namespace {

struct PngBytes {
    const std::string* bytes;
    std::size_t offset = 0;
};

cairo_status_t readPngBytes(void* closure, unsigned char* data, unsigned int length)
{
    auto* in = static_cast<PngBytes*>(closure);
    if (in->bytes->size() - in->offset < length)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, in->bytes->data() + in->offset, length);
    in->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* copyOf(cairo_surface_t* surface)
{
    const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    cairo_surface_t* copy = cairo_image_surface_create(cairo_image_surface_get_format(surface), width, height);
    if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS)
        return copy;
    cairo_surface_flush(surface);
    cairo_surface_flush(copy);
    const int stride = cairo_image_surface_get_stride(surface);
    std::memcpy(cairo_image_surface_get_data(copy), cairo_image_surface_get_data(surface),
                static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    cairo_surface_mark_dirty(copy);
    return copy;
}

// Pictures are read from disk at every use, so a picture changed on disk shows the next time;
// each thread keeps the last pixels decoded from the small files it read, and decodes again only
// when a file's bytes differ from those it decoded.
struct DecodedPicture {
    std::string bytes;
    cairo_surface_t* surface = nullptr;
    ~DecodedPicture() { cairo_surface_destroy(surface); }
    DecodedPicture() = default;
    DecodedPicture(const DecodedPicture&) = delete;
    DecodedPicture& operator=(const DecodedPicture&) = delete;
};
constexpr std::size_t kSmallPicture = 64 * 1024;
constexpr std::size_t kKeptPictures = 32;

// A PNG at a host path as an ARGB32 or RGB24 surface, or nullptr.
cairo_surface_t* loadPNG(const std::string& hostPath)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(hostPath, error))
        return nullptr;
    std::ifstream file(hostPath, std::ios::binary | std::ios::ate);
    const std::streamoff size = file ? static_cast<std::streamoff>(file.tellg()) : -1;
    if (size < 0)
        return nullptr;
    // Read in one go; a file that changes size meanwhile reads as what could be read.
    std::string bytes(static_cast<std::size_t>(size), '\0');
    file.seekg(0);
    file.read(bytes.data(), size);
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    thread_local std::unordered_map<std::string, std::unique_ptr<DecodedPicture>> kept;
    if (auto found = kept.find(hostPath); found != kept.end() && found->second->bytes == bytes)
        return copyOf(found->second->surface);
    PngBytes in{&bytes};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(&readPngBytes, &in);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        kept.erase(hostPath);
        return nullptr;
    }
    if (bytes.size() <= kSmallPicture) {
        auto picture = std::make_unique<DecodedPicture>();
        picture->surface = copyOf(surface);
        if (cairo_surface_status(picture->surface) == CAIRO_STATUS_SUCCESS) {
            if (kept.size() >= kKeptPictures)
                kept.clear();
            picture->bytes = std::move(bytes);
            kept[hostPath] = std::move(picture);
        }
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
