#include "tweak_fixture.h"

#include "tweak/core/settings.h"
#include "tweak/core/text_stamping.h"
#include "uikit/color.h"
#include "uikit/drawing.h"
#include "uikit/image.h"

#include <gtest/gtest.h>

using namespace vantorel;
using tweaktest::TweakTest;

namespace {

// A transparent picture of the size in points at scale 2.
std::shared_ptr<UIImage> blankPicture(CGSize size)
{
    UIGraphicsBeginImageContextWithOptions(size, false, 2);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

struct Pixel {
    unsigned char r, g, b, a;
};

Pixel pixelAt(const std::shared_ptr<UIImage>& image, int x, int y)
{
    cairo_surface_t* s = image->surface();
    cairo_surface_flush(s);
    const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    const uint32_t argb = reinterpret_cast<const uint32_t*>(row)[x];
    return {static_cast<unsigned char>(argb >> 16), static_cast<unsigned char>(argb >> 8),
            static_cast<unsigned char>(argb), static_cast<unsigned char>(argb >> 24)};
}

// The bounding box, in pixels, of the pixels with any alpha.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Box inkBox(const std::shared_ptr<UIImage>& image)
{
    Box box;
    for (int y = 0; y < image->pixelHeight(); ++y)
        for (int x = 0; x < image->pixelWidth(); ++x)
            if (pixelAt(image, x, y).a > 0) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// The colour of the most opaque pixel.
Pixel strongestInk(const std::shared_ptr<UIImage>& image)
{
    Pixel best{0, 0, 0, 0};
    for (int y = 0; y < image->pixelHeight(); ++y)
        for (int x = 0; x < image->pixelWidth(); ++x)
            if (Pixel p = pixelAt(image, x, y); p.a > best.a)
                best = p;
    return best;
}

} // namespace

TEST_F(TweakTest, StampedImageKeepsItsSizeInPointsAndTextStartsAtThePoint)
{
    loadSettings();
    auto picture = blankPicture({35, 35});
    auto stamped = drawTextInImage("8", picture, {0, 0});
    ASSERT_TRUE(stamped);
    EXPECT_EQ(stamped->size(), (CGSize{35, 35}));
    EXPECT_EQ(stamped->scale(), 2.0);
    Box atCorner = inkBox(stamped);
    EXPECT_LT(atCorner.left, 6); // within 3 points of the corner
    EXPECT_LT(atCorner.top, 12);
    Box moved = inkBox(drawTextInImage("8", picture, {12.5, 7.5}));
    EXPECT_NEAR(moved.left - atCorner.left, 25, 2);
    EXPECT_NEAR(moved.top - atCorner.top, 15, 2);
    // White glyphs by default.
    Pixel ink = strongestInk(stamped);
    EXPECT_EQ(ink.r, 255);
    EXPECT_EQ(ink.b, 255);
}

TEST_F(TweakTest, EmptyTextGivesAPlainCopyAndNoPictureGivesNone)
{
    loadSettings();
    auto picture = blankPicture({20, 20});
    auto copy = drawTextInImage("", picture, {2, 2});
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, picture);
    EXPECT_EQ(inkBox(copy).right, -1);
    EXPECT_EQ(drawTextInImage("3", nullptr, {0, 0}), nullptr);
    EXPECT_EQ(drawTextInImage2("3", nullptr, {0, 0}), nullptr);
    // Text running past the canvas is cut off, not grown into.
    auto clipped = drawTextInImage("123456789", picture, {15, 15});
    EXPECT_EQ(clipped->size(), (CGSize{20, 20}));
}

TEST_F(TweakTest, GlyphColourComesFromTheLastLoadAndTextColourFromTheFileAtEachCall)
{
    writeSettings("<key>glyphColor</key><string>0000ff</string><key>textColor</key><string>ff0000</string>");
    loadSettings();
    auto picture = blankPicture({30, 30});
    Pixel glyph = strongestInk(drawTextInImage("8", picture, {2, 2}));
    EXPECT_EQ(glyph.b, 255);
    EXPECT_EQ(glyph.r, 0);
    Pixel text = strongestInk(drawTextInImage2("8", picture, {2, 2}));
    EXPECT_EQ(text.r, 255);
    EXPECT_EQ(text.b, 0);

    // Rewritten without a reload: the next stamp already uses the new colour.
    writeSettings("<key>textColor</key><string>00ff00</string>");
    text = strongestInk(drawTextInImage2("8", picture, {2, 2}));
    EXPECT_EQ(text.g, 255);
    EXPECT_EQ(text.r, 0);
    // Malformed or absent: white.
    writeSettings("<key>textColor</key><string>zzz</string>");
    text = strongestInk(drawTextInImage2("8", picture, {2, 2}));
    EXPECT_EQ(text.r, 255);
    EXPECT_EQ(text.g, 255);
    writeSettings("<key>glyphColor</key><string>zzz</string>");
    loadSettings();
    glyph = strongestInk(drawTextInImage("8", picture, {2, 2}));
    EXPECT_EQ(glyph.r, 255);
    EXPECT_EQ(glyph.b, 255);
}
