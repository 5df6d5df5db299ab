// Golden-picture tests: the render_fixture tool draws the fixtures in tests/uikit/fixtures, and
// the pictures (kept in <build>/render-out for review) are checked by what they must show.
#include "render_pixels.h"

#include "support/support.h"
#include "uikit/render_fixture.h"
#include "uikit/view.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using rendertest::at;
using rendertest::near;

namespace {

struct ToolRun {
    int status = -1;
    std::string errors;
    std::shared_ptr<UIImage> image;
};

std::string quoted(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string fixture(const std::string& name) { return std::string(RENDER_FIXTURES_DIR) + "/" + name; }

// Runs the tool on a fixture; the picture lands in <build>/render-out/<name>.png.
ToolRun render(const std::string& fixturePath, const std::string& name)
{
    const std::filesystem::path out = std::filesystem::path(testsupport::buildDir()) / "render-out";
    std::filesystem::create_directories(out);
    const std::string png = (out / (name + ".png")).string(), log = (out / (name + ".log")).string();
    std::filesystem::remove(png);
    const std::string tool = testsupport::buildDir() + "/bin/render_fixture";
    const int raw = std::system((quoted(tool) + " " + quoted(fixturePath) + " " + quoted(png) + " 2> " + quoted(log)).c_str());
    ToolRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(log);
    std::ostringstream text;
    text << in.rdbuf();
    run.errors = text.str();
    if (std::filesystem::exists(png))
        run.image = rendertest::readPNG(png, 2);
    return run;
}

} // namespace

TEST(RenderFixtureGolden, ABackdropBlursTheStripesInsideItsFrameOnly)
{
    const ToolRun run = render(fixture("render_backdrop_stripes.json"), "backdrop_stripes");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_TRUE(run.image);
    const UIImage& image = *run.image;
    EXPECT_EQ(image.pixelWidth(), 400);
    EXPECT_EQ(image.pixelHeight(), 400);
    const double inside = rendertest::lumaDeviation(image, CGRectMake(58, 58, 84, 84));
    const double above = rendertest::lumaDeviation(image, CGRectMake(0, 0, 200, 45));
    const double left = rendertest::lumaDeviation(image, CGRectMake(0, 50, 45, 100));
    EXPECT_GT(above, 100);
    EXPECT_GT(left, 100);
    EXPECT_LT(inside, 10);
    EXPECT_NEAR(rendertest::meanLuma(image, CGRectMake(58, 58, 84, 84)), 0.6 * 127.5, 6) << "black tint at 0.4";
}

TEST(RenderFixtureGolden, ARoundedPanelClipsItsChild)
{
    const ToolRun run = render(fixture("render_rounded_panel.json"), "rounded_panel");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_TRUE(run.image);
    EXPECT_EQ(at(*run.image, 11, 11).alpha, 0) << "corner pixel transparent";
    EXPECT_EQ(at(*run.image, 5, 30).alpha, 0);
    EXPECT_TRUE(near(at(*run.image, 60, 30), 255, 0, 0, 255));
    EXPECT_TRUE(near(at(*run.image, 60, 90), 0, 0, 255, 255));
}

TEST(RenderFixtureGolden, AGradientHasItsFirstColourAtTheTop)
{
    const ToolRun run = render(fixture("render_gradient.json"), "gradient");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_TRUE(run.image);
    EXPECT_TRUE(near(at(*run.image, 50, 0), 0xff, 0x80, 0x00, 255, 4)) << "top row ≈ the first colour";
    EXPECT_TRUE(near(at(*run.image, 50, 99.9), 0x00, 0x40, 0xff, 255, 4));
    EXPECT_GT(at(*run.image, 50, 25).red, at(*run.image, 50, 75).red);
}

TEST(RenderFixtureGolden, ATemplateImageShowsItsAlphaInTheTint)
{
    const ToolRun run = render(fixture("render_template_image.json"), "template_image");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_TRUE(run.image);
    EXPECT_TRUE(near(at(*run.image, 32, 32), 0, 0xc0, 0, 255)) << "inside the disc: the tint, not red";
    EXPECT_TRUE(near(at(*run.image, 32, 17), 0, 0xc0, 0, 255));
    EXPECT_TRUE(near(at(*run.image, 17, 17), 255, 255, 255, 255)) << "outside the disc's alpha: background";
    int red = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            red += at(*run.image, x, y).red > 128 && at(*run.image, x, y).green < 100;
    EXPECT_EQ(red, 0) << "none of the picture's own colour";
}

TEST(RenderFixtureGolden, TextRendersInTheUltraLightFace)
{
    const ToolRun light = render(fixture("render_ultralight_text.json"), "ultralight_text");
    const ToolRun regular = render(fixture("render_regular_text.json"), "regular_text");
    ASSERT_EQ(light.status, 0) << light.errors;
    ASSERT_EQ(regular.status, 0) << regular.errors;
    const CGRect all = CGRectMake(0, 0, 320, 60);
    const int lightInk = rendertest::darkPixels(*light.image, all, 128);
    const int regularInk = rendertest::darkPixels(*regular.image, all, 128);
    EXPECT_GT(lightInk, 50);
    EXPECT_LT(lightInk * 3, regularInk * 2) << "thin strokes: fewer dark pixels for the same string";
}

TEST(RenderFixtureGolden, TheLockScreenRendersWithItsBlurredPanels)
{
    const ToolRun run = render(fixture("render_lock_screen.json"), "lock_screen");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_TRUE(run.image);
    EXPECT_EQ(run.image->pixelWidth(), 640);
    EXPECT_EQ(run.image->pixelHeight(), 1136);
    EXPECT_GT(rendertest::lumaDeviation(*run.image, CGRectMake(100, 40, 120, 20)), 20) << "sharp wallpaper";
    EXPECT_LT(rendertest::lumaDeviation(*run.image, CGRectMake(20, 300, 280, 200)), 5) << "blurred panel";
    EXPECT_LT(rendertest::lumaDeviation(*run.image, CGRectMake(14, 121, 48, 8)), 5) << "blurred tab under the icon";
    EXPECT_EQ(run.errors, "");
}

TEST(RenderFixtureTool, ReportsBadFixturesWithoutFailingOnBadValues)
{
    const ToolRun broken = render(fixture("render_bad_syntax.json"), "bad_syntax");
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.errors.find("not valid JSON"), std::string::npos) << broken.errors;
    EXPECT_FALSE(broken.image);

    const ToolRun missing = render(fixture("render_no_such_fixture.json"), "missing");
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(missing.image);

    // Wrong kinds and hostile paths are warnings; the rest of the tree is drawn.
    const ToolRun odd = render(fixture("render_bad_values.json"), "bad_values");
    ASSERT_EQ(odd.status, 0) << odd.errors;
    ASSERT_TRUE(odd.image);
    // The backdrop's tint opacity of 7 is kept to 1: it covers the green root in black.
    EXPECT_TRUE(near(at(*odd.image, 20, 20), 0, 0, 0, 255));
    for (const char* expected : {"root.alpha", "root.hidden", "unknown type", "inside the fixture's folder",
                                 "no picture at", "root.subviews[6]", "scale"})
        EXPECT_NE(odd.errors.find(expected), std::string::npos) << expected << "\n" << odd.errors;

    EXPECT_NE(std::system((quoted(testsupport::buildDir() + "/bin/render_fixture") + " 2>/dev/null").c_str()), 0)
        << "arguments are required";
}

TEST(RenderFixtureTool, BuildsTreesFromText)
{
    // Parsed in-process: the tree has the described views and state.
    const auto fixture = uikit::parseRenderFixture(R"({"frame": [0, 0, 50, 40], "alpha": 0.5,
        "subviews": [{"frame": [1, 2, 3, 4]}, {"type": "backdrop"}]})", ".");
    ASSERT_TRUE(fixture.root) << fixture.error;
    EXPECT_EQ(fixture.root->frame(), CGRectMake(0, 0, 50, 40));
    EXPECT_DOUBLE_EQ(fixture.root->alpha(), 0.5);
    ASSERT_EQ(fixture.root->subviews().size(), 2u);
    EXPECT_EQ(fixture.root->subviews()[0]->frame(), CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(fixture.root->subviews()[1]->frame(), fixture.root->bounds()) << "a backdrop fills its superview";
    EXPECT_TRUE(fixture.warnings.empty());

    EXPECT_FALSE(uikit::parseRenderFixture("[1, 2]", ".").root);
    EXPECT_FALSE(uikit::parseRenderFixture("", ".").root);
    EXPECT_FALSE(uikit::parseRenderFixture(R"({"root": 5})", ".").root);

    // Absurd nesting is cut off, not followed into a stack overflow.
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += R"({"subviews": [)";
    deep += "{}";
    for (int i = 0; i < 5000; ++i)
        deep += "]}";
    const auto nested = uikit::parseRenderFixture(deep, ".");
    ASSERT_TRUE(nested.root);
    EXPECT_FALSE(nested.warnings.empty());
}
