// One frame of the lock screen: a 320 × 568 point screen at scale 2 with about 60 views
// (wallpaper, labels, icons, an apps hub with badges, forecast tiles) and three blurred panels,
// beside the same frame whose panels only tint (no blur). A frame at 60 Hz has 16 ms.
#include "uikit/backdrop_view.h"
#include "uikit/color.h"
#include "uikit/font.h"
#include "uikit/image.h"
#include "uikit/image_view.h"
#include "uikit/label.h"
#include "uikit/render_blur.h"
#include "uikit/renderer.h"
#include "uikit/view.h"

#include <benchmark/benchmark.h>

#include <cairo.h>
#include <functional>
#include <numbers>
#include <string>

namespace {

std::shared_ptr<UIColor> rgb(double r, double g, double b, double a = 1)
{
    return UIColor::colorWithRedGreenBlueAlpha(r, g, b, a);
}

// A wallpaper with detail everywhere, so that the blur has something to do.
std::shared_ptr<UIImage> wallpaper()
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 640, 1136);
    cairo_t* cr = cairo_create(s);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, 1136);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.1, 0.2, 0.45);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.85, 0.45, 0.25);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    for (int i = 0; i < 40; ++i) {
        cairo_set_source_rgba(cr, (i % 3) / 2.0, (i % 5) / 4.0, (i % 7) / 6.0, 0.6);
        cairo_arc(cr, (i * 137) % 640, (i * 251) % 1136, 20 + (i % 4) * 15, 0, 2 * std::numbers::pi);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    return UIImage::imageWithSurface(s, 2);
}

std::shared_ptr<UIImage> glyph()
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 64);
    cairo_t* cr = cairo_create(s);
    cairo_arc(cr, 32, 32, 28, 0, 2 * std::numbers::pi);
    cairo_fill(cr);
    cairo_destroy(cr);
    return UIImage::imageWithSurface(s, 2)->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate);
}

std::shared_ptr<UILabel> label(CGRect frame, const std::string& text, CGFloat size)
{
    auto l = UIView::create<UILabel>(frame);
    l->setText(text);
    l->setFont(UIFont::fontWithNameSize(".HelveticaNeueInterface-UltraLightP2", size));
    l->setTextColor(UIColor::whiteColor());
    l->setTextAlignment(NSTextAlignment::Center);
    return l;
}

// A plain view holding the standard backdrop (blurred or not) and a tint view.
std::shared_ptr<UIView> panel(CGRect frame, bool blur)
{
    auto p = UIView::create(frame);
    auto backdrop = _UIBackdropView::createWithStyle(2);
    backdrop->inputSettings()->setColorTint(UIColor::blackColor());
    backdrop->inputSettings()->setColorTintAlpha(0.4);
    backdrop->setBlurRadius(blur ? 4.0 : 0.0);
    p->insertSubviewAtIndex(backdrop, 0);
    auto tint = UIView::create(backdrop->bounds());
    tint->setBackgroundColor(UIColor::whiteColor());
    tint->setAlpha(0.2);
    backdrop->addSubview(tint);
    return p;
}

std::shared_ptr<UIView> lockScreen(bool blur, int* viewCount)
{
    auto root = UIView::create(CGRectMake(0, 0, 320, 568));
    auto wall = UIView::create<UIImageView>(root->bounds());
    wall->setImage(wallpaper());
    root->addSubview(wall);

    auto widgetPanel = panel(CGRectMake(0, 130, 320, 220), blur);
    for (int i = 0; i < 6; ++i) {
        auto tile = UIView::create(CGRectMake(10 + (i % 4) * 75, 10 + (i / 4) * 105, 60, 100));
        tile->setBackgroundColor(rgb(1, 1, 1, 0.1));
        tile->layer()->setCornerRadius(5);
        tile->addSubview(label(CGRectMake(0, 0, 60, 25), std::to_string(i + 1) + "PM", 18));
        auto condition = UIView::create<UIImageView>(CGRectMake(0, 30, 60, 25));
        condition->setImage(glyph());
        condition->setContentMode(UIViewContentMode::Center);
        condition->setTintColor(UIColor::whiteColor());
        tile->addSubview(condition);
        tile->addSubview(label(CGRectMake(0, 60, 60, 25), std::to_string(14 + i) + "°", 17.5));
        widgetPanel->addSubview(tile);
    }
    root->addSubview(widgetPanel);

    auto notificationsPanel = panel(CGRectMake(0, 360, 320, 208), blur);
    notificationsPanel->addSubview(label(CGRectMake(10, 10, 300, 30), "Messages", 17.5));
    notificationsPanel->addSubview(label(CGRectMake(10, 40, 300, 30), "See you at eight", 17.5));
    root->addSubview(notificationsPanel);

    root->addSubview(panel(CGRectMake(12, 77, 52, 150), blur));

    auto hub = UIView::create(CGRectMake(76, 100, 168, 30));
    for (int i = 0; i < 6; ++i) {
        auto icon = UIView::create<UIImageView>(CGRectMake(i * 28, 2, 24, 24));
        icon->setImage(glyph());
        icon->setTintColor(rgb(0.3 + 0.1 * i, 0.8, 0.4));
        hub->addSubview(icon);
        auto badge = UIView::create(CGRectMake(i * 28 + 14, -4, 14, 14));
        badge->setBackgroundColor(UIColor::redColor());
        badge->layer()->setCornerRadius(7);
        hub->addSubview(badge);
        badge->addSubview(label(badge->bounds(), std::to_string(i + 1), 9));
    }
    root->addSubview(hub);

    root->addSubview(label(CGRectMake(0, 0, 320, 100), "Good Evening", 37.5));
    root->addSubview(label(CGRectMake(0, 65, 320, 50), "It's 18° and clear in Berlin.", 17.5));
    for (CGFloat x : {22.0, 266.0}) {
        auto icon = UIView::create<UIImageView>(CGRectMake(x, 87, 32, 32));
        icon->setImage(glyph());
        icon->setTintColor(UIColor::whiteColor());
        root->addSubview(icon);
    }

    std::function<int(const UIView&)> count = [&](const UIView& v) {
        int n = 1;
        for (const auto& sub : v.subviews())
            n += count(*sub);
        return n;
    };
    *viewCount = count(*root);
    return root;
}

void renderFrame(benchmark::State& state, bool blur)
{
    int views = 0;
    auto screen = lockScreen(blur, &views);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 640, 1136);
    for (auto _ : state) {
        cairo_t* cr = cairo_create(surface);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr);
        cairo_destroy(cr);
        uikit::renderView(*screen, surface, 2.0);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
    }
    state.counters["views"] = views;
    cairo_surface_destroy(surface);
}

void FrameWithThreeBlurredPanels(benchmark::State& state) { renderFrame(state, true); }
void FrameWithoutBlur(benchmark::State& state) { renderFrame(state, false); }

// The blur alone over one panel's pixels (radius 4 points at 2x), into a new picture.
void blurPanel(benchmark::State& state, uikit::PixelRect area)
{
    const auto picture = wallpaper();
    cairo_surface_t* surface = picture->surface();
    for (auto _ : state) {
        cairo_surface_t* blurred = uikit::blurredCopy(surface, area, 8);
        benchmark::DoNotOptimize(blurred);
        cairo_surface_destroy(blurred);
    }
}

// The largest panel (the widget panel), and the narrow one beside the greeting.
void BlurPanel(benchmark::State& state) { blurPanel(state, {0, 260, 640, 440}); }
void BlurSmallPanel(benchmark::State& state) { blurPanel(state, {24, 154, 104, 300}); }

} // namespace

BENCHMARK(FrameWithThreeBlurredPanels)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameWithoutBlur)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurPanel)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurSmallPanel)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
