// Images: pixels in a Cairo ARGB32 surface, a scale (pixels per point) and a rendering mode.
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"

#include <cairo.h>
#include <memory>
#include <string>

class UIColor;

enum class UIImageRenderingMode : long { Automatic = 0, AlwaysOriginal = 1, AlwaysTemplate = 2 };

class UIImage : public objc::Object {
    OBJC_CLASS(UIImage, objc::Object)
public:
    UIImage() = default;
    ~UIImage() override;

    // A PNG at a device path; an "@2x" file beside it is preferred and gives scale 2.
    // nil when the file is missing or is not a readable PNG.
    static std::shared_ptr<UIImage> imageWithContentsOfFile(const std::string& devicePath);
    // Takes ownership of the surface (one reference).
    static std::shared_ptr<UIImage> imageWithSurface(cairo_surface_t* surface, CGFloat scale);
    // A 1 × 1 point image filled with the colour.
    static std::shared_ptr<UIImage> imageWithColor(const std::shared_ptr<UIColor>& color, CGFloat scale = 0);

    CGSize size() const; // in points
    CGFloat scale() const { return scale_; }
    UIImageRenderingMode renderingMode() const { return renderingMode_; }
    // The same pixels with another rendering mode (template: only the alpha channel counts,
    // drawn in the tint colour).
    std::shared_ptr<UIImage> imageWithRenderingMode(UIImageRenderingMode mode) const;

    // Draws into the current image context (see drawing.h).
    void drawInRect(CGRect rect) const;
    // Draws into any Cairo context; with a tint, only the alpha channel is drawn in that colour.
    // The opacity multiplies everything drawn.
    void drawInRect(cairo_t* cr, CGRect rect, const UIColor* tint = nullptr, double opacity = 1.0) const;

    cairo_surface_t* surface() const { return surface_; }
    int pixelWidth() const;
    int pixelHeight() const;
    // Writes the pixels as PNG to a host path; false on failure.
    bool writePNG(const std::string& hostPath) const;

private:
    cairo_surface_t* surface_ = nullptr;
    CGFloat scale_ = 1;
    UIImageRenderingMode renderingMode_ = UIImageRenderingMode::Automatic;
};
