// The renderer's short cuts come to the same pixels as the long way: fills written straight
// into pixel memory against Cairo's fills, images copied from the pixels kept from an earlier
// frame against drawing them afresh, and label layouts kept between frames that follow every
// change to the label.
#include "uikit/color.h"
#include "uikit/font.h"
#include "uikit/image.h"
#include "uikit/image_view.h"
#include "uikit/label.h"
#include "uikit/layer.h"
#include "uikit/render_fill.h"
#include "uikit/render_paint.h"
#include "uikit/snapshot.h"
#include "uikit/view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <numbers>
#include <string>

namespace {

// Premultiplied pixels of every alpha and colour, different along each row.
cairo_surface_t* mixedPixels(int width, int height)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    auto* p = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s));
    const int stride = cairo_image_surface_get_stride(s) / 4;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t a = (x * 37 + y * 11) % 256;
            const auto channel = [a](std::uint32_t v) { return a ? v % (a + 1) : 0; };
            p[y * stride + x] = a << 24 | channel(x * 13 + y) << 16 | channel(x * 7 + 3 * y) << 8 | channel(x + 5 * y);
        }
    cairo_surface_mark_dirty(s);
    return s;
}

bool samePixels(cairo_surface_t* a, cairo_surface_t* b)
{
    cairo_surface_flush(a);
    cairo_surface_flush(b);
    const int height = cairo_image_surface_get_height(a), bytes = cairo_image_surface_get_width(a) * 4;
    for (int y = 0; y < height; ++y)
        if (std::memcmp(cairo_image_surface_get_data(a) + y * cairo_image_surface_get_stride(a),
                        cairo_image_surface_get_data(b) + y * cairo_image_surface_get_stride(b), bytes) != 0)
            return false;
    return true;
}

// The largest difference of any channel between two pictures of the same size.
int largestDifference(const UIImage& a, const UIImage& b)
{
    cairo_surface_flush(a.surface());
    cairo_surface_flush(b.surface());
    const auto row = [](const UIImage& image, int y) {
        return cairo_image_surface_get_data(image.surface()) + y * cairo_image_surface_get_stride(image.surface());
    };
    int worst = 0;
    for (int y = 0; y < a.pixelHeight(); ++y)
        for (int x = 0; x < 4 * a.pixelWidth(); ++x)
            worst = std::max(worst, std::abs(row(a, y)[x] - row(b, y)[x]));
    return worst;
}

std::shared_ptr<UIImage> ringImage(int side, double red, double green, double blue)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgba(cr, red, green, blue, 0.9);
    cairo_set_line_width(cr, side / 6.0);
    cairo_arc(cr, side / 2.0, side / 2.0, side / 3.0, 0, 2 * std::numbers::pi);
    cairo_stroke(cr);
    cairo_destroy(cr);
    return UIImage::imageWithSurface(s, 2);
}

} // namespace

TEST(RenderFastPaths, FillsWholePixelsExactlyAsCairoDoes)
{
    const CGColor colours[] = {
        {1, 1, 1, 0.2},     {0, 0, 0, 0.4},       {0.3, 0.6, 0.9, 1},
        {0.8, 0.1, 0.5, 0.003}, {1, 0.5, 0, 0.999}, {0.2, 0.4, 0.6, 0},
        {1.5, -0.5, 0.5, 0.7}, // beyond 0 ... 1: kept within
    };
    // Rows of every length around the vector widths, so that the short last parts are covered.
    for (int width : {1, 3, 4, 7, 8, 9, 17, 61}) {
        for (const CGColor& colour : colours) {
            SCOPED_TRACE(testing::Message() << "width " << width << ", alpha " << colour.alpha);
            cairo_surface_t* expected = mixedPixels(width + 4, 5);
            cairo_surface_t* actual = mixedPixels(width + 4, 5);
            cairo_t* cr = cairo_create(expected);
            cairo_rectangle(cr, 2, 1, width, 3);
            uikit::setSourceColor(cr, colour, 1.0);
            cairo_fill(cr);
            cairo_destroy(cr);
            uikit::layOverRect(cairo_image_surface_get_data(actual), cairo_image_surface_get_stride(actual),
                               {2, 1, width, 3}, uikit::cairoPixel(colour, 1.0));
            cairo_surface_mark_dirty(actual);
            EXPECT_TRUE(samePixels(expected, actual));
            cairo_surface_destroy(expected);
            cairo_surface_destroy(actual);
        }
    }
}

TEST(RenderFastPaths, ViewBackgroundsMatchCairosFills)
{
    // Whole-pixel rectangles and the rows of rounded ones clear of the corners are written
    // directly, the corners' rows laid on through kept masks, the rest goes through Cairo: the
    // picture is Cairo's, to the bit but for a level of rounding where a mask lays on a colour.
    struct Case {
        CGRect frame;
        CGFloat radius;
        double alpha;
    };
    const Case cases[] = {
        {CGRectMake(10, 10, 60, 100), 0, 0.1},     {CGRectMake(10, 10, 60, 100), 5, 0.1},
        {CGRectMake(3, 40, 14, 14), 7, 1.0},       {CGRectMake(20.5, 7.5, 33, 21), 4, 0.6},
        {CGRectMake(20.25, 7, 33, 21), 0, 0.6},    {CGRectMake(-10, -20, 50, 60), 12, 0.35},
        {CGRectMake(40, 90, 60, 40), 3.3, 0.8},    {CGRectMake(5, 5, 90, 30), 1e9, 0.5},
        {CGRectMake(-2000, 60, 4100, 40), 10, 0.3}, {CGRectMake(-3e5, 60, 6e5, 40), 10, 0.3}, // mostly off screen
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frame.origin.x << "," << c.frame.origin.y << " radius " << c.radius);
        auto root = UIView::create(CGRectMake(0, 0, 100, 120));
        root->setBackgroundColor(UIColor::colorWithRedGreenBlueAlpha(0.2, 0.5, 0.7, 0.9));
        auto view = UIView::create(c.frame);
        view->setBackgroundColor(UIColor::colorWithRedGreenBlueAlpha(1, 0.9, 0.3, c.alpha));
        view->layer()->setCornerRadius(c.radius);
        root->addSubview(view);
        const auto drawn = snapshotImage(root.get(), 2);

        cairo_surface_t* direct = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 200, 240);
        cairo_t* cr = cairo_create(direct);
        cairo_scale(cr, 2, 2);
        uikit::fillRoundedRect(cr, root->bounds(), 0, {0.2, 0.5, 0.7, 0.9}, 1);
        uikit::fillRoundedRect(cr, c.frame, c.radius, {1, 0.9, 0.3, c.alpha}, 1);
        cairo_destroy(cr);
        EXPECT_LE(largestDifference(*drawn, *UIImage::imageWithSurface(direct, 2)), 1);
    }
}

TEST(RenderFastPaths, KeptImagesMatchImagesDrawnAfresh)
{
    // One image view changed between frames in every way that changes its pixels; each frame is
    // compared with the image drawn directly, without the renderer.
    auto root = UIView::create(CGRectMake(0, 0, 60, 60));
    auto view = UIView::create<UIImageView>(CGRectMake(10, 10, 24, 24));
    view->setContentMode(UIViewContentMode::ScaleToFill);
    root->addSubview(view);
    const auto red = ringImage(64, 1, 0, 0), green = ringImage(64, 0, 1, 0);
    struct Frame {
        const char* what;
        std::function<void()> change;
    };
    const Frame frames[] = {
        {"scaled down", [&] { view->setImage(red); }},
        {"the same again", [] {}},
        {"another picture", [&] { view->setImage(green); }},
        {"half a pixel further", [&] { view->setFrame(CGRectMake(10.25, 10.25, 24, 24)); }},
        {"another size", [&] { view->setFrame(CGRectMake(10, 10, 31.3, 17)); }},
        {"faded", [&] { view->setAlpha(0.5); }},
        {"as a template", [&] { view->setImage(green->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate)); }},
        {"in a tint", [&] { view->setTintColor(UIColor::colorWithRedGreenBlueAlpha(0.2, 0.3, 1, 1)); }},
        {"in another tint", [&] { view->setTintColor(UIColor::colorWithRedGreenBlueAlpha(1, 0.8, 0, 0.6)); }},
    };
    for (const auto& frame : frames) {
        SCOPED_TRACE(frame.what);
        frame.change();
        const auto drawn = snapshotImage(root.get(), 2);
        ASSERT_TRUE(drawn);

        cairo_surface_t* direct = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 120, 120);
        cairo_t* cr = cairo_create(direct);
        cairo_scale(cr, 2, 2);
        const CGRect frameRect = view->frame();
        cairo_translate(cr, frameRect.origin.x, frameRect.origin.y);
        const auto tint = view->templateTintColor();
        view->image()->drawInRect(cr, view->imageRect(), tint.get(), view->alpha());
        cairo_destroy(cr);
        const auto expected = UIImage::imageWithSurface(direct, 2);
        // Kept pixels are composited once more, at the view's opacity, and sampled from another
        // place on the grid: a level or two of rounding.
        EXPECT_LE(largestDifference(*drawn, *expected), 2);
    }
}

TEST(RenderFastPaths, KeptLabelLayoutsFollowEveryChange)
{
    // Each change is made and undone on one label: the picture must change with it and come back.
    auto root = UIView::create(CGRectMake(0, 0, 160, 60));
    auto label = UIView::create<UILabel>(CGRectMake(0, 0, 160, 60));
    label->setTextColor(UIColor::blackColor());
    root->addSubview(label);
    const auto reset = [&] {
        label->setFrame(CGRectMake(0, 0, 160, 60));
        label->setText("Lunch at one, then the long walk home");
        label->setFont(UIFont::systemFontOfSize(14));
        label->setTextAlignment(NSTextAlignment::Left);
        label->setNumberOfLines(2); // "Lunch at one, then the" over "long walk home"
    };
    struct Change {
        const char* what;
        std::function<void()> make;
    };
    const Change changes[] = {
        {"text", [&] { label->setText("Lunch at two, then the long walk home"); }},
        {"size", [&] { label->setFont(UIFont::systemFontOfSize(15)); }},
        {"weight", [&] { label->setFont(UIFont::boldSystemFontOfSize(14)); }},
        {"alignment", [&] { label->setTextAlignment(NSTextAlignment::Right); }},
        {"width", [&] { label->setFrame(CGRectMake(0, 0, 150, 60)); }},
        {"lines", [&] { label->setNumberOfLines(1); }},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.what);
        reset();
        const auto before = snapshotImage(root.get(), 2);
        change.make();
        const auto changed = snapshotImage(root.get(), 2);
        reset();
        const auto after = snapshotImage(root.get(), 2);
        EXPECT_GT(largestDifference(*before, *changed), 100);
        EXPECT_EQ(largestDifference(*before, *after), 0);
    }
}
