#include "uikit/color.h"
#include "uikit/drawing.h"
#include "uikit/font.h"

#include "pixels.h"

#include <gtest/gtest.h>
#include <pango/pangocairo.h>

using namespace graphicstest;

namespace {

// The weight of the face fontconfig and Pango actually load for the font.
int loadedWeight(const UIFont& font)
{
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoContext* context = pango_font_map_create_context(map);
    PangoFontDescription* wanted = pango_font_description_from_string(font.pangoDescription().c_str());
    PangoFont* loaded = pango_font_map_load_font(map, context, wanted);
    int weight = -1;
    if (loaded) {
        PangoFontDescription* got = pango_font_describe(loaded);
        weight = pango_font_description_get_weight(got);
        pango_font_description_free(got);
        g_object_unref(loaded);
    }
    pango_font_description_free(wanted);
    g_object_unref(context);
    return weight;
}

// How many pixels a text inks in black on a transparent 2× canvas.
int inkedPixels(const std::shared_ptr<UIFont>& font, const std::string& text)
{
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(200, 60), false, 0);
    NSStringDrawInRect(text, CGRectMake(0, 0, 200, 60), {font, UIColor::blackColor()});
    const auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return countPixels(*image, [](const Pixel& p) { return p.alpha > 128; });
}

} // namespace

TEST(Font, SystemFontsAreDejaVuSans)
{
    const auto regular = UIFont::systemFontOfSize(14);
    EXPECT_EQ(regular->family(), "DejaVu Sans");
    EXPECT_EQ(regular->weight(), 400);
    EXPECT_EQ(regular->pointSize(), 14);
    EXPECT_EQ(loadedWeight(*regular), 400);

    const auto bold = UIFont::boldSystemFontOfSize(16);
    EXPECT_EQ(bold->family(), "DejaVu Sans");
    EXPECT_EQ(bold->weight(), 700);
    EXPECT_EQ(loadedWeight(*bold), 700);
    EXPECT_NE(bold->fontName(), regular->fontName());
    // The system faces' own names lead back to them.
    EXPECT_EQ(UIFont::fontWithNameSize(bold->fontName(), 16)->weight(), 700);
    EXPECT_EQ(UIFont::fontWithNameSize(regular->fontName(), 14)->weight(), 400);
}

TEST(Font, UltraLightInterfaceFaceIsReallyExtraLight)
{
    const auto light = UIFont::fontWithNameSize(".HelveticaNeueInterface-UltraLightP2", 37.5);
    ASSERT_TRUE(light);
    EXPECT_EQ(light->fontName(), ".HelveticaNeueInterface-UltraLightP2");
    EXPECT_EQ(light->family(), "DejaVu Sans");
    EXPECT_EQ(light->pointSize(), 37.5);
    EXPECT_EQ(light->weight(), 200);
    EXPECT_EQ(loadedWeight(*light), 200);

    // The strokes are visibly thinner than those of the regular face.
    const int lightInk = inkedPixels(light->fontWithSize(30), "Hamburg 18");
    const int regularInk = inkedPixels(UIFont::systemFontOfSize(30), "Hamburg 18");
    EXPECT_GT(lightInk, 0);
    EXPECT_LT(lightInk * 3, regularInk * 2);

    const auto helveticaLight = UIFont::fontWithNameSize("HelveticaNeue-UltraLight", 10);
    ASSERT_TRUE(helveticaLight);
    EXPECT_EQ(helveticaLight->weight(), 200);
}

TEST(Font, KnownNamesMapToTheirFacesAndUnknownNamesGiveNil)
{
    const auto helvetica = UIFont::fontWithNameSize("Helvetica", 12);
    ASSERT_TRUE(helvetica);
    EXPECT_EQ(helvetica->family(), "DejaVu Sans");
    EXPECT_EQ(helvetica->weight(), 400);

    const auto bold = UIFont::fontWithNameSize("HelveticaNeue-Bold", 12);
    ASSERT_TRUE(bold);
    EXPECT_EQ(bold->weight(), 700);
    EXPECT_FALSE(bold->italic());

    const auto italic = UIFont::fontWithNameSize("Helvetica-BoldOblique", 12);
    ASSERT_TRUE(italic);
    EXPECT_TRUE(italic->italic());

    const auto mono = UIFont::fontWithNameSize("Menlo", 12);
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono->family(), "DejaVu Sans Mono");
    ASSERT_TRUE(UIFont::fontWithNameSize("DejaVu Sans", 9));

    EXPECT_FALSE(UIFont::fontWithNameSize("NoSuchFace", 12));
    EXPECT_FALSE(UIFont::fontWithNameSize("", 12));
    EXPECT_FALSE(UIFont::fontWithNameSize("../../etc/passwd", 12));
    EXPECT_FALSE(UIFont::fontWithNameSize("Helveticax-Bold", 12));
}

TEST(Font, LineHeightGrowsWithThePointSize)
{
    const CGFloat twelve = UIFont::systemFontOfSize(12)->lineHeight();
    EXPECT_GT(twelve, 12);
    EXPECT_LT(twelve, 16);
    // Unhinted metrics: the line height is proportional to the size.
    EXPECT_NEAR(UIFont::systemFontOfSize(24)->lineHeight(), 2 * twelve, 0.02);
    EXPECT_NEAR(UIFont::systemFontOfSize(6)->lineHeight(), twelve / 2, 0.02);
    // A title sized from the measured height of "STRING" gets the line height it aimed for.
    const CGFloat stringHeight = NSStringSizeWithAttributes("STRING", {UIFont::systemFontOfSize(12), nullptr}).height;
    EXPECT_NEAR(stringHeight, twelve, 0.01);
    EXPECT_NEAR(UIFont::systemFontOfSize(0.4 * 30 * 12 / stringHeight)->lineHeight(), 12, 0.02);

    const auto resized = UIFont::boldSystemFontOfSize(10)->fontWithSize(20);
    EXPECT_EQ(resized->weight(), 700);
    EXPECT_EQ(resized->pointSize(), 20);
}

TEST(Font, NonsenseSizesDoNotBreakMeasuring)
{
    EXPECT_EQ(UIFont::systemFontOfSize(-3)->pointSize(), 0);
    EXPECT_EQ(UIFont::systemFontOfSize(NAN)->pointSize(), 0);
    EXPECT_GE(UIFont::systemFontOfSize(-3)->lineHeight(), 0);
}
