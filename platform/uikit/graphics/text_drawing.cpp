#include "uikit/drawing.h"

#include "uikit/color.h"
#include "uikit/text_layout.h"

#include <cmath>

namespace {

bool finite(CGRect r)
{
    return std::isfinite(r.origin.x) && std::isfinite(r.origin.y) && std::isfinite(r.size.width) &&
           std::isfinite(r.size.height);
}

} // namespace

void NSStringDrawInRect(const std::string& text, CGRect rect, const NSStringAttributes& attributes)
{
    if (cairo_t* cr = UIGraphicsGetCurrentContext())
        NSStringDrawInRect(cr, text, rect, attributes);
}

void NSStringDrawInRect(cairo_t* cr, const std::string& text, CGRect rect, const NSStringAttributes& attributes)
{
    rect = CGRectStandardize(rect);
    if (!cr || text.empty() || !finite(rect) || CGRectIsEmpty(rect))
        return;
    PangoLayout* layout = uikit::keptTextLayout(cr, text, attributes, rect.size.width, 0).layout.get();

    cairo_save(cr);
    // What runs past the rectangle's bottom (or sticks out sideways) is cut off.
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_clip(cr);
    const auto& color = attributes.foregroundColor;
    if (color)
        cairo_set_source_rgba(cr, color->red(), color->green(), color->blue(), color->alpha());
    else
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_move_to(cr, rect.origin.x, rect.origin.y);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
}

CGSize NSStringSizeWithAttributes(const std::string& text, const NSStringAttributes& attributes)
{
    if (text.empty())
        return CGSizeZero;
    return uikit::measuredTextSize(text, attributes, 0);
}

CGSize NSStringBoundingSize(const std::string& text, CGFloat width, const NSStringAttributes& attributes)
{
    if (text.empty())
        return CGSizeZero;
    return uikit::measuredTextSize(text, attributes, width);
}
