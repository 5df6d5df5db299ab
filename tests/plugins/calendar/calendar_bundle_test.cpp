// The built Calendar bundle, loaded from a device root the way the widget host loads it: the
// bundle by path, its principal class, alloc and initWithFrame:. Everything else is reached
// through the runtime and the toolkit, as the host reaches it.
#include "calendar_fixture.h"

#include "foundation/ns_bundle.h"
#include "support/support.h"
#include "uikit/drag_simulator.h"
#include "uikit/image.h"
#include "uikit/label.h"
#include "uikit/render_pixels.h"
#include "uikit/scroll_view.h"
#include "uikit/snapshot.h"
#include "uikit/touch_simulator.h"
#include "uikit/view_controller.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace objc;
namespace fs = std::filesystem;

namespace {

constexpr const char* kBundle = "/Library/Application Support/Vantorel/Plugins/Calendar.bundle";

class CalendarBundleTest : public CalendarTest {
protected:
    void SetUp() override
    {
        CalendarTest::SetUp();
        const fs::path staged = fs::path(testsupport::buildDir()) / "device" / std::string(kBundle).substr(1);
        fs::create_directories(device.host(kBundle));
        fs::copy(staged, device.host(kBundle), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }

    // What the widget host does with the selected plug-in.
    std::shared_ptr<UIView> makePluginView(CGRect frame)
    {
        auto bundle = NSBundle::bundleWithPath(kBundle);
        if (!bundle || !bundle->load())
            return nullptr;
        Class principal = bundle->principalClass();
        if (!principal)
            return nullptr;
        return msgSend<std::shared_ptr<UIView>>(principal->createInstance(), "initWithFrame:"_sel, frame);
    }

    static std::shared_ptr<UIScrollView> pagingView(const UIView& plugin)
    {
        return std::dynamic_pointer_cast<UIScrollView>(plugin.subviews().at(0)->subviews().at(0));
    }

    // The title of the page in view.
    static std::string shownTitle(const UIView& plugin)
    {
        auto controller = msgSend<std::shared_ptr<UIViewController>>(pagingView(plugin), "visibleViewController"_sel);
        auto label = controller ? std::dynamic_pointer_cast<UILabel>(controller->view()->subviews().at(0)) : nullptr;
        return label ? label->text() : "";
    }

    // Renders the view to <build>/render-out/<name>.png for review, and returns the picture.
    static std::shared_ptr<UIImage> render(UIView& view, const std::string& name)
    {
        view.layoutIfNeeded();
        const fs::path out = fs::path(testsupport::buildDir()) / "render-out";
        fs::create_directories(out);
        snapshot(&view, (out / (name + ".png")).string());
        return snapshotImage(&view, 2);
    }
};

// Share of pixels that differ by more than a small amount in any channel.
double differingShare(const UIImage& a, const UIImage& b)
{
    if (a.pixelWidth() != b.pixelWidth() || a.pixelHeight() != b.pixelHeight())
        return 1;
    long differing = 0;
    for (int y = 0; y < a.pixelHeight(); ++y)
        for (int x = 0; x < a.pixelWidth(); ++x) {
            const auto p = rendertest::pixelAt(a, x, y), q = rendertest::pixelAt(b, x, y);
            if (std::abs(p.red - q.red) > 48 || std::abs(p.green - q.green) > 48 || std::abs(p.blue - q.blue) > 48 ||
                std::abs(p.alpha - q.alpha) > 48)
                ++differing;
        }
    return static_cast<double>(differing) / (static_cast<double>(a.pixelWidth()) * a.pixelHeight());
}

} // namespace

TEST_F(CalendarBundleTest, TheHostLoadsTheCalendarAndItKeepsItsSize)
{
    auto bundle = NSBundle::bundleWithPath(kBundle);
    ASSERT_TRUE(bundle);
    ASSERT_TRUE(bundle->load());
    Class principal = bundle->principalClass();
    ASSERT_TRUE(principal);
    EXPECT_EQ(principal->name(), "Calendar");
    EXPECT_EQ(objc_copyClassNamesForImage(principal->imageName()).front(), "Calendar") << "also the first class";
    EXPECT_TRUE(principal->isSubclassOf(UIView::class_()));
    EXPECT_TRUE(UIImage::imageWithContentsOfFile(std::string(kBundle) + "/Calendar.png")) << "the icon";

    auto plugin = makePluginView(CGRectMake(12, 34, 320, 200));
    ASSERT_TRUE(plugin);
    ASSERT_EQ(plugin->subviews().size(), 1u);
    const auto calendar = plugin->subviews()[0];
    EXPECT_EQ(calendar->isa()->name(), "SACalendar");
    EXPECT_EQ(calendar->frame(), CGRectMake(0, 0, 320, 200));
    EXPECT_EQ(msgSend<id>(calendar, "delegate"_sel), plugin);
    EXPECT_EQ(msgSend<unsigned long>(pagingView(*plugin), "direction"_sel), 1u);
    EXPECT_FALSE(pagingView(*plugin)->isPagingEnabled());
    EXPECT_FALSE(respondsToSelector(plugin.get(), "setBlendLayer:"_sel));
    EXPECT_FALSE(respondsToSelector(plugin.get(), "reloadCells"_sel));

    for (const CGRect frame : {CGRectMake(0, 0, 200, 100), CGRectMake(0, 0, 640, 480)}) {
        plugin->setFrame(frame);
        plugin->layoutIfNeeded();
        EXPECT_EQ(calendar->frame(), CGRectMake(0, 0, 320, 200));
    }
}

TEST_F(CalendarBundleTest, TheWidgetAreaShowsTheMonthAndAnswersTapsAndDrags)
{
    auto plugin = makePluginView(CGRectMake(0, 0, 320, 210));
    ASSERT_TRUE(plugin);
    auto picture = render(*plugin, "calendar_320x210");
    ASSERT_TRUE(picture);
    using rendertest::at;
    using rendertest::near;
    EXPECT_TRUE(near(at(*picture, 5, 5), 255, 255, 255, 255)) << "a white page";
    EXPECT_GT(rendertest::darkPixels(*picture, CGRectMake(100, 5, 120, 20), 120), 20) << "the red title";
    EXPECT_TRUE(near(at(*picture, 1 + 45.5 * 0 + 22.5, 30 + 2 * 30 + 3), 255, 0, 0, 255)) << "today's disc, 15 March";
    EXPECT_TRUE(near(at(*picture, 2, 180.5), 255, 255, 255, 255)) << "no line over empty cells";

    // Against the reference picture kept beside the tests (VANTOREL_UPDATE_PICTURES=1 rewrites it).
    const std::string reference = std::string(CALENDAR_TEST_DIR) + "/calendar_320x210.png";
    if (std::getenv("VANTOREL_UPDATE_PICTURES"))
        snapshot(plugin.get(), reference);
    auto expected = rendertest::readPNG(reference, 2);
    ASSERT_TRUE(expected) << reference;
    EXPECT_LT(differingShare(*picture, *expected), 0.01);

    // A tap on the 21st puts the black disc there; a drag shows April without it.
    EXPECT_EQ(simulateTap(plugin.get(), CGPointMake(1 + 6 * 45.5 + 22, 30 + 2 * 30 + 15)), SimulatedTapResult::Handled);
    picture = render(*plugin, "calendar_320x210_tapped");
    EXPECT_TRUE(near(at(*picture, 1 + 6 * 45.5 + 22.5, 30 + 2 * 30 + 3), 0, 0, 0, 255));
    simulateDrag(pagingView(*plugin).get(), {0, -210}, false);
    picture = render(*plugin, "calendar_320x210_april");
    EXPECT_EQ(shownTitle(*plugin), "April 2026");
    EXPECT_TRUE(near(at(*picture, 1 + 6 * 45.5 + 22.5, 30 + 2 * 30 + 3), 255, 255, 255, 255));

    // A taller, narrower widget area: the same month in bigger cells.
    auto tall = makePluginView(CGRectMake(0, 0, 280, 350));
    ASSERT_TRUE(tall);
    picture = render(*tall, "calendar_280x350");
    EXPECT_EQ(shownTitle(*tall), "March 2026");
    // Cells of 40 × 50 under a band of 50: today's disc in column 0, row 2.
    EXPECT_TRUE(near(at(*picture, 20, 50 + 2 * 50 + 17), 255, 0, 0, 255));
}
