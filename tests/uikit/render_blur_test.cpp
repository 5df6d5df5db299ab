#include "uikit/render_blend_mode.h"
#include "uikit/render_blur.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

using uikit::blurredCopy;
using uikit::boxBlur;
using uikit::PixelRect;

namespace {

// A grey ramp of opaque pixels for the blur's arithmetic: one channel value per pixel.
struct Block {
    int width, height;
    std::vector<std::uint32_t> pixels;
    Block(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0) {}
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    int blue(int x, int y) { return static_cast<int>(at(x, y) & 0xFF); }
    int alpha(int x, int y) { return static_cast<int>(at(x, y) >> 24); }
    void blur(int radius) { boxBlur(reinterpret_cast<std::uint8_t*>(pixels.data()), width, height, width * 4, radius); }
};

std::uint32_t grey(int v) { return 0xFF000000u | (v << 16) | (v << 8) | v; }

cairo_surface_t* stripes(int width, int height, int stripe)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(s);
    for (int x = 0; x < width; x += stripe) {
        const double v = (x / stripe) % 2 ? 1.0 : 0.0;
        cairo_set_source_rgb(cr, v, v, v);
        cairo_rectangle(cr, x, 0, stripe, height);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}

int blueOf(cairo_surface_t* s, int x, int y)
{
    const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    return static_cast<int>(reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFF);
}

} // namespace

TEST(RenderBlur, SpreadsAPointEvenlyAndKeepsItsWeight)
{
    Block b(41, 41);
    for (int y = 19; y <= 21; ++y)
        for (int x = 19; x <= 21; ++x)
            b.at(x, y) = 0xFFFFFFFFu; // a white, opaque 3 × 3 dot on transparent black
    b.blur(3);

    // Symmetric in both directions, largest in the middle, falling off outwards.
    EXPECT_EQ(b.alpha(17, 20), b.alpha(23, 20));
    EXPECT_EQ(b.alpha(20, 17), b.alpha(20, 23));
    EXPECT_NEAR(b.alpha(17, 20), b.alpha(20, 17), 1) << "the two directions differ by rounding only";
    EXPECT_GT(b.alpha(20, 20), b.alpha(22, 20));
    EXPECT_GT(b.alpha(22, 20), b.alpha(25, 20));
    // Three passes of radius 3 reach 9 pixels past the dot, not further.
    EXPECT_EQ(b.alpha(21 + 10, 20), 0);
    EXPECT_EQ(b.alpha(20, 19 - 10), 0);
    // A Gaussian-like bump, not a box: the centre is clearly above the value at two deviations.
    EXPECT_GT(b.alpha(20, 20), 3 * b.alpha(26, 20));

    long total = 0;
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x) {
            total += b.alpha(x, y);
            EXPECT_LE(b.blue(x, y), b.alpha(x, y)) << "premultiplied colour never exceeds alpha";
        }
    EXPECT_NEAR(total, 9 * 255, 9 * 255 / 10) << "the weight of the dot is kept, up to rounding";
}

TEST(RenderBlur, RepeatsEdgesAndLeavesFlatAreasAlone)
{
    Block b(30, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 30; ++x)
            b.at(x, y) = grey(x < 15 ? 40 : 200);
    b.blur(4);
    // Far from the step the values stay; at the edges the picture does not darken or fade.
    EXPECT_EQ(b.blue(0, 0), 40);
    EXPECT_EQ(b.alpha(0, 0), 255);
    EXPECT_EQ(b.blue(29, 9), 200);
    EXPECT_EQ(b.alpha(29, 9), 255);
    // The step becomes a monotone ramp around the middle.
    for (int x = 1; x < 30; ++x)
        EXPECT_GE(b.blue(x, 5), b.blue(x - 1, 5));
    EXPECT_GT(b.blue(15, 5), 40);
    EXPECT_LT(b.blue(14, 5), 200);

    Block same(8, 8);
    for (auto& p : same.pixels)
        p = grey(123);
    same.blur(0);
    EXPECT_EQ(same.blue(3, 3), 123);
    same.blur(50); // a radius larger than the block only repeats the edges
    EXPECT_EQ(same.blue(3, 3), 123);
}

TEST(RenderBlur, CopyBlursOnlyTheAreaAndSamplesJustAroundIt)
{
    cairo_surface_t* source = stripes(200, 40, 4);
    const PixelRect area{60, 10, 60, 20};
    cairo_surface_t* blurred = blurredCopy(source, area, 8);
    ASSERT_NE(blurred, nullptr);
    EXPECT_EQ(cairo_image_surface_get_width(blurred), 60);
    EXPECT_EQ(cairo_image_surface_get_height(blurred), 20);
    // Stripes of 4 pixels blurred with radius 8 are nearly flat grey (away from the sides,
    // where the repeated edge pixels weigh in).
    for (int x = 12; x < 48; ++x)
        EXPECT_NEAR(blueOf(blurred, x, 10), 128, 12) << x;
    // The source is untouched.
    EXPECT_EQ(blueOf(source, 60, 10), 255);
    EXPECT_EQ(blueOf(source, 64, 10), 0);
    cairo_surface_destroy(blurred);

    // What lies further away than the radius does not bleed in: a white block 20 pixels left of
    // an all-black area leaves it black.
    cairo_surface_t* dark = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 20);
    cairo_t* cr = cairo_create(dark);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, 0, 0, 30, 20);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_t* far = blurredCopy(dark, {50, 0, 30, 20}, 8);
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(blueOf(far, 0, 10), 0);
    cairo_surface_t* close = blurredCopy(dark, {34, 0, 30, 20}, 8);
    EXPECT_GT(blueOf(close, 0, 10), 0) << "content within the radius does bleed in";
    cairo_surface_destroy(far);
    cairo_surface_destroy(close);
    cairo_surface_destroy(dark);

    // Areas partly outside are cut to the source; wholly outside give nothing.
    cairo_surface_t* cut = blurredCopy(source, {190, 30, 50, 50}, 8);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cairo_image_surface_get_width(cut), 10);
    EXPECT_EQ(cairo_image_surface_get_height(cut), 10);
    cairo_surface_destroy(cut);
    EXPECT_EQ(blurredCopy(source, {300, 0, 10, 10}, 8), nullptr);
    EXPECT_EQ(blurredCopy(nullptr, area, 8), nullptr);
    cairo_surface_t* a8 = cairo_image_surface_create(CAIRO_FORMAT_A8, 10, 10);
    EXPECT_EQ(blurredCopy(a8, {0, 0, 10, 10}, 2), nullptr) << "only ARGB32 pixels are blurred";
    cairo_surface_destroy(a8);
    cairo_surface_destroy(source);
}

TEST(RenderCompositingFilter, NamesMapToCairoOperators)
{
    using uikit::compositingOperator;
    EXPECT_EQ(compositingOperator("multiplyBlendMode"), CAIRO_OPERATOR_MULTIPLY);
    EXPECT_EQ(compositingOperator("screenBlendMode"), CAIRO_OPERATOR_SCREEN);
    EXPECT_EQ(compositingOperator("overlayBlendMode"), CAIRO_OPERATOR_OVERLAY);
    EXPECT_EQ(compositingOperator("darkenBlendMode"), CAIRO_OPERATOR_DARKEN);
    EXPECT_EQ(compositingOperator("lightenBlendMode"), CAIRO_OPERATOR_LIGHTEN);
    EXPECT_EQ(compositingOperator("colorDodgeBlendMode"), CAIRO_OPERATOR_COLOR_DODGE);
    EXPECT_EQ(compositingOperator("colorBurnBlendMode"), CAIRO_OPERATOR_COLOR_BURN);
    EXPECT_EQ(compositingOperator("softLightBlendMode"), CAIRO_OPERATOR_SOFT_LIGHT);
    EXPECT_EQ(compositingOperator("hardLightBlendMode"), CAIRO_OPERATOR_HARD_LIGHT);
    EXPECT_EQ(compositingOperator("differenceBlendMode"), CAIRO_OPERATOR_DIFFERENCE);
    EXPECT_EQ(compositingOperator("exclusionBlendMode"), CAIRO_OPERATOR_EXCLUSION);
    EXPECT_EQ(compositingOperator("plusL"), CAIRO_OPERATOR_ADD);
    // No Cairo equivalent, unknown, empty: normal compositing.
    EXPECT_EQ(compositingOperator("plusD"), CAIRO_OPERATOR_OVER);
    EXPECT_EQ(compositingOperator("sparkleBlendMode"), CAIRO_OPERATOR_OVER);
    EXPECT_EQ(compositingOperator(""), CAIRO_OPERATOR_OVER);
    EXPECT_EQ(compositingOperator("MULTIPLYBLENDMODE"), CAIRO_OPERATOR_OVER);
}
