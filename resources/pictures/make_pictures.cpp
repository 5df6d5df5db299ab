// Draws the system's pictures (icons, badge) as PNG files with transparent backgrounds, at 1x
// and 2x, into the folders given on the command line. Run by the build.
//
//   make_pictures <support folder> <plug-ins folder>
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace {

using Painter = std::function<void(cairo_t*)>;

// One picture of size × size points, written as name.png (1x) and name@2x.png (2x).
bool writePicture(const std::string& folder, const std::string& name, double size, const Painter& paint)
{
    for (int scale : {1, 2}) {
        const int pixels = static_cast<int>(std::ceil(size * scale));
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels, pixels);
        cairo_t* cr = cairo_create(surface);
        cairo_scale(cr, scale, scale);
        cairo_set_source_rgba(cr, 1, 1, 1, 1);
        paint(cr);
        cairo_destroy(cr);
        const std::string path = folder + "/" + name + (scale == 2 ? "@2x.png" : ".png");
        const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(surface);
        if (!ok) {
            std::fprintf(stderr, "make_pictures: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// Four rounded tiles: the all-widgets chooser.
void widgets(cairo_t* cr)
{
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            roundedRect(cr, 3 + col * 14, 3 + row * 14, 12, 12, 3);
    cairo_fill(cr);
}

// A bell: the notifications panel.
void notification(cairo_t* cr)
{
    cairo_move_to(cr, 16, 3);
    cairo_curve_to(cr, 9, 3, 8, 9, 8, 14);
    cairo_line_to(cr, 8, 20);
    cairo_line_to(cr, 4, 25);
    cairo_line_to(cr, 28, 25);
    cairo_line_to(cr, 24, 20);
    cairo_line_to(cr, 24, 14);
    cairo_curve_to(cr, 24, 9, 23, 3, 16, 3);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_arc(cr, 16, 27, 3.2, 0, 2 * M_PI);
    cairo_fill(cr);
}

// A red disc with a white ring, sized so that a bold 16-point digit drawn from (12.5, 7.5)
// sits in its middle.
void badge(cairo_t* cr)
{
    cairo_arc(cr, 17.5, 17.5, 16.5, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_fill(cr);
    cairo_arc(cr, 17.5, 17.5, 14.5, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.92, 0.16, 0.16, 1);
    cairo_fill(cr);
}

// A calendar sheet: rings and a header band on top, an open body where the day is stamped.
void calendar(cairo_t* cr)
{
    cairo_set_line_width(cr, 2);
    roundedRect(cr, 2, 5, 28, 26, 3);
    cairo_stroke(cr);
    cairo_rectangle(cr, 2, 5, 28, 5);
    cairo_fill(cr);
    for (double x : {9.0, 23.0}) {
        roundedRect(cr, x - 1.5, 1, 3, 7, 1.5);
        cairo_fill(cr);
    }
}

// A sun behind a cloud.
void weather(cairo_t* cr)
{
    cairo_set_line_width(cr, 2);
    cairo_arc(cr, 12, 12, 6, 0, 2 * M_PI);
    cairo_fill(cr);
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        cairo_move_to(cr, 12 + 8.5 * std::cos(a), 12 + 8.5 * std::sin(a));
        cairo_line_to(cr, 12 + 11 * std::cos(a), 12 + 11 * std::sin(a));
    }
    cairo_stroke(cr);
    cairo_arc(cr, 14, 23, 5, M_PI / 2, 3 * M_PI / 2);
    cairo_arc(cr, 20, 17, 7, M_PI, 2 * M_PI);
    cairo_arc(cr, 26, 23, 5, 3 * M_PI / 2, M_PI / 2);
    cairo_close_path(cr);
    cairo_fill(cr);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_pictures <support folder> <plug-ins folder>\n");
        return 2;
    }
    const std::string support = argv[1], plugins = argv[2];
    std::filesystem::create_directories(support);
    std::filesystem::create_directories(plugins + "/Calendar.bundle");
    std::filesystem::create_directories(plugins + "/Weather.bundle");
    const bool ok = writePicture(support, "Widgets", 32, widgets) &&
                    writePicture(support, "Notification", 32, notification) &&
                    writePicture(support, "Badge", 35, badge) &&
                    writePicture(plugins + "/Calendar.bundle", "Calendar", 32, calendar) &&
                    writePicture(plugins + "/Weather.bundle", "Weather", 32, weather);
    return ok ? 0 : 1;
}
