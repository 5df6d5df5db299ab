#include "uikit/render_blend_mode.h"
#include "uikit/render_blur.h"
#include "uikit/render_paint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
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

// A busy premultiplied picture: translucent discs of many colours over stripes, so that every
// frequency and both opaque and translucent pixels are there.
cairo_surface_t* busyPicture(int width, int height)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(s);
    for (int x = 0; x < width; x += 6) {
        cairo_set_source_rgba(cr, 0.9, 0.8, 0.2, 0.7);
        cairo_rectangle(cr, x, 0, 3, height);
        cairo_fill(cr);
    }
    for (int i = 0; i < 30; ++i) {
        cairo_set_source_rgba(cr, (i % 3) / 2.0, (i % 5) / 4.0, (i % 7) / 6.0, 0.3 + (i % 4) * 0.2);
        cairo_arc(cr, (i * 53) % width, (i * 97) % height, 6 + (i % 5) * 7, 0, 6.3);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
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

TEST(RenderBlur, ReducedResolutionBlurMatchesTheFullBlur)
{
    // Radii below 6 run at full resolution, 6 and 7 at half, from 8 on at a quarter: each stays
    // within a few levels of three full-resolution box passes, and keeps colours premultiplied.
    constexpr int kWidth = 200, kHeight = 160;
    cairo_surface_t* picture = busyPicture(kWidth, kHeight);
    const uikit::PixelBlock block{cairo_image_surface_get_data(picture), kWidth, kHeight,
                                  cairo_image_surface_get_stride(picture)};
    for (int radius : {3, 6, 7, 8, 13, 40}) {
        SCOPED_TRACE(radius);
        const PixelRect area{50, 40, 97, 61};
        // The full blur of what blurArea samples: the area grown by the radius.
        const PixelRect sampled = uikit::intersect(uikit::expand(area, radius), {0, 0, kWidth, kHeight});
        Block full(sampled.width, sampled.height);
        for (int y = 0; y < sampled.height; ++y)
            for (int x = 0; x < sampled.width; ++x)
                full.at(x, y) = reinterpret_cast<const std::uint32_t*>(
                    block.pixels + (sampled.y + y) * block.stride)[sampled.x + x];
        full.blur(radius);

        Block fast(area.width, area.height);
        ASSERT_TRUE(uikit::blurArea(block, area, radius, reinterpret_cast<std::uint8_t*>(fast.pixels.data()),
                                    area.width * 4));
        int worst = 0, innerWorst = 0;
        long total = 0;
        for (int y = 0; y < area.height; ++y)
            for (int x = 0; x < area.width; ++x) {
                const std::uint32_t a = fast.at(x, y), b = full.at(x + area.x - sampled.x, y + area.y - sampled.y);
                const bool inner = x >= radius && y >= radius && x < area.width - radius && y < area.height - radius;
                int& bound = inner ? innerWorst : worst;
                for (int shift = 0; shift < 32; shift += 8) {
                    const int d = std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                           static_cast<int>((b >> shift) & 0xFF));
                    bound = std::max(bound, d);
                    total += d;
                }
                for (int shift = 0; shift < 24; shift += 8)
                    ASSERT_LE((a >> shift) & 0xFF, a >> 24) << "premultiplied colour never exceeds alpha";
            }
        // Both repeat the sampled block's edges, each on its own grid: near the area's edges, where
        // that weighs in, a few levels more.
        EXPECT_LE(innerWorst, 4);
        EXPECT_LE(worst, 10);
        EXPECT_LT(static_cast<double>(total) / (area.width * area.height * 4), 1.0);
    }
    cairo_surface_destroy(picture);
}

TEST(RenderBlur, BlursInPlaceAndLaysTheTintOverAsCairoWould)
{
    constexpr int kWidth = 120, kHeight = 90;
    const PixelRect area{10, 20, 83, 45};
    for (int radius : {2, 6, 9}) {
        SCOPED_TRACE(radius);
        cairo_surface_t* picture = busyPicture(kWidth, kHeight);
        auto* data = cairo_image_surface_get_data(picture);
        const int stride = cairo_image_surface_get_stride(picture);
        const uikit::PixelBlock block{data, kWidth, kHeight, stride};

        // The blur into a separate block, then a tint filled over it by Cairo ...
        cairo_surface_t* expected = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, area.width, area.height);
        ASSERT_TRUE(uikit::blurArea(block, area, radius, cairo_image_surface_get_data(expected),
                                    cairo_image_surface_get_stride(expected)));
        cairo_surface_mark_dirty(expected);
        cairo_t* cr = cairo_create(expected);
        cairo_set_source_rgba(cr, 0.1, 0.5, 0.9, 0.37);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(expected);

        // ... equals the blur written over the area itself with the tint laid over in passing.
        std::uint8_t* areaPixels = data + area.y * stride + area.x * 4;
        ASSERT_TRUE(uikit::blurArea(block, area, radius, areaPixels, stride,
                                    uikit::cairoPixel({0.1, 0.5, 0.9, 1}, 0.37)));
        for (int y = 0; y < area.height; ++y)
            ASSERT_EQ(std::memcmp(areaPixels + y * stride,
                                  cairo_image_surface_get_data(expected) + y * cairo_image_surface_get_stride(expected),
                                  area.width * 4),
                      0)
                << "row " << y;
        cairo_surface_destroy(expected);
        cairo_surface_destroy(picture);
    }
    // Areas not wholly inside the block are refused, nothing written.
    std::vector<std::uint32_t> pixels(16 * 16, 0x80402010u);
    const uikit::PixelBlock small{reinterpret_cast<std::uint8_t*>(pixels.data()), 16, 16, 64};
    std::vector<std::uint32_t> out(16 * 16, 0);
    for (const PixelRect bad : {PixelRect{-1, 0, 4, 4}, PixelRect{10, 10, 7, 2}, PixelRect{0, 0, 0, 5}})
        EXPECT_FALSE(uikit::blurArea(small, bad, 8, reinterpret_cast<std::uint8_t*>(out.data()), 64));
    EXPECT_EQ(out[0], 0u);
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
