// Draws the stencil of the settings list's banner: the product name (and a line under it) in
// opaque white on a transparent picture, 320 × 110 points, at 1x and 2x. Where it is opaque
// the banner's gradient shows through. Run by the build.
//
//   make_header <bundle folder>     writes Header.png and Header@2x.png there
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr double kWidth = 320;
constexpr double kHeight = 110;

void centred(cairo_t* cr, const char* text, double size, cairo_font_weight_t weight, double baseline)
{
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, weight);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_move_to(cr, (kWidth - extents.width) / 2 - extents.x_bearing, baseline);
    cairo_show_text(cr, text);
}

bool draw(const std::string& path, int scale)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(kWidth * scale),
                                                          static_cast<int>(kHeight * scale));
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    centred(cr, "Vantorel", 46, CAIRO_FONT_WEIGHT_BOLD, 64);
    centred(cr, "your lock screen, at a glance", 14, CAIRO_FONT_WEIGHT_NORMAL, 88);
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!ok)
        std::fprintf(stderr, "make_header: cannot write %s\n", path.c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_header <bundle folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    return draw(folder + "/Header.png", 1) && draw(folder + "/Header@2x.png", 2) ? 0 : 1;
}
