#include "sim/contact_sheet.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace sim {

namespace {

constexpr int kColumns = 4;
constexpr double kTileWidth = 320;  // a screen at one pixel per point
constexpr double kTileHeight = 568;
constexpr double kGap = 24;
constexpr double kCaptionHeight = 44;

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

void caption(cairo_t* cr, const std::string& text, double x, double y)
{
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans 12");
    pango_layout_set_font_description(layout, font);
    pango_layout_set_width(layout, static_cast<int>(kTileWidth * PANGO_SCALE));
    pango_layout_set_height(layout, static_cast<int>(kCaptionHeight * PANGO_SCALE));
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_text(layout, text.c_str(), -1);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    pango_font_description_free(font);
    g_object_unref(layout);
}

} // namespace

bool writeContactSheet(const std::vector<Shot>& shots, const std::string& path)
{
    if (shots.empty())
        return false;
    const int columns = std::min<int>(kColumns, static_cast<int>(shots.size()));
    const int rows = static_cast<int>((shots.size() + kColumns - 1) / kColumns);
    const int width = static_cast<int>(kGap + columns * (kTileWidth + kGap));
    const int height = static_cast<int>(kGap + rows * (kTileHeight + kCaptionHeight + kGap));
    Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), cairo_surface_destroy);
    cairo_t* cr = cairo_create(sheet.get());
    cairo_set_source_rgb(cr, 0.13, 0.13, 0.15);
    cairo_paint(cr);

    for (std::size_t i = 0; i < shots.size(); ++i) {
        const double x = kGap + static_cast<double>(i % kColumns) * (kTileWidth + kGap);
        const double y = kGap + static_cast<double>(i / kColumns) * (kTileHeight + kCaptionHeight + kGap);
        Surface picture(cairo_image_surface_create_from_png(shots[i].path.c_str()), cairo_surface_destroy);
        cairo_save(cr);
        cairo_rectangle(cr, x, y, kTileWidth, kTileHeight);
        cairo_clip(cr);
        if (cairo_surface_status(picture.get()) == CAIRO_STATUS_SUCCESS) {
            const double scale = kTileWidth / std::max(1, cairo_image_surface_get_width(picture.get()));
            cairo_translate(cr, x, y);
            cairo_scale(cr, scale, scale);
            cairo_set_source_surface(cr, picture.get(), 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            cairo_paint(cr);
        } else {
            cairo_set_source_rgb(cr, 0.4, 0.1, 0.1);
            cairo_paint(cr);
        }
        cairo_restore(cr);
        cairo_set_source_rgb(cr, 0.92, 0.92, 0.92);
        caption(cr, std::to_string(i + 1) + ". " + shots[i].caption, x, y + kTileHeight + 6);
    }
    cairo_destroy(cr);
    return cairo_surface_write_to_png(sheet.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace sim
