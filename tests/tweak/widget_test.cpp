// The widget host, the plug-in contract and the widget chooser, with test plug-in bundles in a
// temporary device root. Everything is reached as the host reaches it: classes by name,
// messages by selector, taps through the touch simulator.
#include "common/support_paths.h"
#include "foundation/ns_array.h"
#include "foundation/ns_bundle.h"
#include "foundation/ns_string.h"
#include "support/device_root.h"
#include "support/support.h"
#include "tweak/core/settings.h"
#include "tweak/core/status_text.h"
#include "tweak/lockscreen/widget_cell.h"
#include "uikit/collection_view.h"
#include "uikit/color.h"
#include "uikit/image_view.h"
#include "uikit/index_path.h"
#include "uikit/label.h"
#include "uikit/layer.h"
#include "uikit/touch_simulator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace objc;

namespace {

// What happened, in order: bundle loads seen through the runtime and the delegate's answers.
std::vector<std::string> events;

bool (*originalLoad)(Object*, SEL) = nullptr;
bool recordingLoad(Object* self, SEL cmd)
{
    events.push_back("load " + static_cast<NSBundle*>(self)->bundlePath().substr(vantorel::PluginsFolder.size()));
    return originalLoad(self, cmd);
}

// The chooser's delegate, standing where the host's list view stands.
class ChoiceRecorder : public Object {
    OBJC_CLASS(ChoiceRecorder, Object)
public:
    void selectedWidgetClass(Class chosen)
    {
        events.push_back(std::string("chose ") + (chosen ? class_getName(chosen) : "nil"));
        last = chosen;
    }
    Class last = nullptr;
};

struct Bundle {
    std::string name;
    std::string module;    // built module the executable links to; empty: no executable
    std::string principal; // NSPrincipalClass; empty: the executable's first class
    const char* icon = nullptr; // a shipped plug-in icon, installed as <name>.png
};

const Bundle kCalendar{"Calendar", "libtweak_test_widget.so", "TestWidgetView", "Calendar"};
const Bundle kWeather{"Weather", "libtweak_test_weather_widget.so", "", "Weather"};
const Bundle kHelper{"Helper", "libtweak_test_weather_widget.so", "TestWidgetHelper"};
const Bundle kBare{"Bare", "", ""};

std::string plist(const std::string& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + entries + "</dict></plist>\n";
}

class WidgetTest : public testsupport::DeviceRootTest {
protected:
    WidgetTest()
    {
        vantorel::settings = {};
        events.clear();
        static const bool hooked = [] {
            MSHookMessageEx(NSBundle::class_(), "load"_sel, &recordingLoad, &originalLoad);
            return true;
        }();
        (void)hooked;
    }
    ~WidgetTest() override { vantorel::settings = {}; }

    // A bundle folder whose executable is a link to the built module, so that every test's
    // bundle reaches the one loaded copy.
    void install(const Bundle& b) const
    {
        const std::string folder = vantorel::pluginBundlePath(b.name);
        std::string info;
        if (!b.module.empty()) {
            info += "<key>CFBundleExecutable</key><string>" + b.name + "</string>";
            device.makeFolder(folder);
            fs::create_symlink(testsupport::builtLibrary(b.module), device.host(folder + "/" + b.name));
        }
        if (!b.principal.empty())
            info += "<key>NSPrincipalClass</key><string>" + b.principal + "</string>";
        device.writeFile(folder + "/Info.plist", plist(info));
        if (b.icon)
            fs::copy_file(testsupport::buildDir() + "/device" + vantorel::pluginIconPath(b.icon),
                          device.host(vantorel::pluginIconPath(b.name)));
    }

    static id make(const char* className, CGRect frame)
    {
        return msgSend<id>(msgSend<id>(objc_getClass(className), "alloc"_sel), "initWithFrame:"_sel, frame);
    }
    // A widget host as the list view makes it: frame, class, then updateView.
    static std::shared_ptr<UIView> widgetFor(Class cls, CGRect frame = CGRectMake(0, 0, 320, 240))
    {
        auto widget = std::dynamic_pointer_cast<UIView>(make("VTWidget", frame));
        EXPECT_TRUE(widget);
        EXPECT_TRUE(widget->subviews().empty()); // nothing before the first updateView
        msgSend(widget, "setWidgetClass:"_sel, cls);
        msgSend(widget, "updateView"_sel);
        return widget;
    }
    static std::shared_ptr<UIView> pluginViewOf(const std::shared_ptr<UIView>& widget)
    {
        return msgSend<std::shared_ptr<UIView>>(widget, "pluginView"_sel);
    }

    std::shared_ptr<UIView> chooser(CGRect frame, const std::shared_ptr<ChoiceRecorder>& delegate = nullptr)
    {
        auto view = std::dynamic_pointer_cast<UIView>(make("WidgetSelector", frame));
        EXPECT_TRUE(view);
        msgSend(view, "setDelegate:"_sel, delegate);
        msgSend(view, "updateView"_sel);
        view->layoutIfNeeded();
        return view;
    }
    static std::shared_ptr<UICollectionView> gridOf(const std::shared_ptr<UIView>& chooser)
    {
        return msgSend<std::shared_ptr<UICollectionView>>(chooser, "bundleView"_sel);
    }
    static std::shared_ptr<WidgetCell> tile(const std::shared_ptr<UIView>& chooser, long item)
    {
        return std::dynamic_pointer_cast<WidgetCell>(
            gridOf(chooser)->cellForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(item, 0)));
    }
};

} // namespace

OBJC_REGISTER(ChoiceRecorder, c.method<&ChoiceRecorder::selectedWidgetClass>("selectedWidgetClass:");)

TEST_F(WidgetTest, SettingsLoadChoosesThePluginThatTheWidgetShows)
{
    struct Case {
        const char* settings;  // nullptr: no settings file
        const char* shownClass; // nullptr: the widget area stays empty
    };
    const Case cases[] = {
        {nullptr, "TestWidgetView"},
        {"<key>SelectedWidget</key><string>Weather</string>", "TestWeatherWidgetView"},
        {"<key>SelectedWidget</key><string>Missing</string>", nullptr},
        {"<key>SelectedWidget</key><string>Bare</string>", nullptr},   // no executable
        {"<key>SelectedWidget</key><string>Helper</string>", nullptr}, // principal class is no view
        {"<key>allWidgets</key><true/>", nullptr},
    };
    for (const Bundle& b : {kCalendar, kWeather, kHelper, kBare})
        install(b);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings ? c.settings : "no settings file");
        vantorel::settings = {};
        if (c.settings)
            device.writeFile(std::string(vantorel::SettingsFile), plist(c.settings));
        else
            fs::remove(device.host(std::string(vantorel::SettingsFile)));
        loadSettings();

        auto widget = widgetFor(vantorel::settings.selectedWidgetClass);
        msgSend(widget, "updateView"_sel);
        auto plugin = pluginViewOf(widget);
        if (!c.shownClass) {
            EXPECT_FALSE(plugin);
            EXPECT_TRUE(widget->subviews().empty());
            continue;
        }
        ASSERT_TRUE(plugin);
        EXPECT_EQ(plugin->isa()->name(), c.shownClass);
        ASSERT_EQ(widget->subviews().size(), 1u); // a second updateView makes no second view
        EXPECT_EQ(widget->subviews().front(), plugin);
        EXPECT_EQ(plugin->frame(), widget->bounds());
    }
}

TEST_F(WidgetTest, PluginViewFollowsTheWidgetsSizeAtTheNextLayoutAndStaysOnTop)
{
    install(kCalendar);
    auto widget = widgetFor(NSBundle::bundleWithPath(vantorel::pluginBundlePath("Calendar"))->principalClass());
    auto plugin = pluginViewOf(widget);
    ASSERT_TRUE(plugin);
    widget->layoutIfNeeded();

    widget->setFrame(CGRectMake(0, 130, 300, 400));
    EXPECT_EQ(plugin->frame(), CGRectMake(0, 0, 320, 240)); // not before the layout pass
    widget->layoutIfNeeded();
    EXPECT_EQ(plugin->frame(), CGRectMake(0, 0, 300, 400));

    widget->addSubview(UIView::create(CGRectMake(0, 0, 10, 10)));
    msgSend(widget, "updateView"_sel);
    EXPECT_EQ(widget->subviews().back(), plugin);
    EXPECT_EQ(pluginViewOf(widget), plugin);
}

TEST_F(WidgetTest, WeatherRefreshReachesOnlyAPluginThatAnswersIt)
{
    install(kCalendar);
    install(kWeather);
    struct Case {
        const char* plugin;
        bool withPopLayer;
        const char* calls; // what the plug-in view was sent; nullptr: it answers none of it
    };
    const Case cases[] = {
        {"Weather", false, "blend(nil) reload "},
        {"Weather", true, "blend(layer) reload "},
        {"Calendar", true, nullptr}, // a settings reload said "Weather" while Calendar shows
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plugin);
        auto widget = widgetFor(NSBundle::bundleWithPath(vantorel::pluginBundlePath(c.plugin))->principalClass());
        if (c.withPopLayer)
            msgSend(widget, "setPopLayer:"_sel, CALayer::layer());
        currentCity = std::make_shared<Object>(); // the city file is gone: the record empties
        msgSend(widget, "reloadWeatherInfo"_sel);
        EXPECT_FALSE(currentCity);
        auto plugin = pluginViewOf(widget);
        if (c.calls)
            EXPECT_EQ(msgSend<std::shared_ptr<NSString>>(plugin, "calls"_sel)->string(), c.calls);
        else
            EXPECT_FALSE(respondsToSelector(plugin.get(), "reloadCells"_sel));
    }
}

TEST_F(WidgetTest, ChooserListsEveryBundleOnceWithItsNameIconAndClass)
{
    struct Case {
        std::vector<Bundle> bundles;
        std::vector<std::string> otherEntries;
        std::vector<std::string> names;
        std::vector<const char*> classes;
    };
    const Case cases[] = {
        {{kCalendar, kWeather}, {"notes.txt"}, {"Calendar", "Weather"}, {"TestWidgetView", "TestWeatherWidgetView"}},
        {{kBare, kCalendar}, {"Odd.Bundle", "bundle"}, {"Bare", "Calendar"}, {nullptr, "TestWidgetView"}},
        {{}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.size());
        fs::remove_all(device.host(std::string(vantorel::PluginsFolder)));
        for (const Bundle& b : c.bundles)
            install(b);
        for (const std::string& entry : c.otherEntries)
            device.writeFile(std::string(vantorel::PluginsFolder) + entry, "text");

        auto view = chooser(CGRectMake(0, 0, 320, 240));
        auto names = msgSend<std::shared_ptr<NSArray>>(view, "allBundleNames"_sel);
        ASSERT_TRUE(names);
        ASSERT_EQ(names->count(), c.names.size());
        ASSERT_EQ(gridOf(view)->visibleCells().size(), c.names.size());
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            EXPECT_EQ(names->objectAtIndex(i)->description(), c.names[i]);
            auto cell = tile(view, static_cast<long>(i));
            ASSERT_TRUE(cell);
            EXPECT_EQ(cell->timeLabel()->text(), c.names[i]);
            EXPECT_EQ(cell->tempLabel()->text(), "");
            EXPECT_EQ(cell->conditionImageView()->image() != nullptr, c.bundles[i].icon != nullptr);
            EXPECT_STREQ(cell->bundleClass() ? class_getName(cell->bundleClass()) : nullptr, c.classes[i]);
            EXPECT_EQ(cell->layer()->cornerRadius(), 5);
            EXPECT_TRUE(cell->backgroundColor()->isEqual(UIColor::colorWithWhiteAlpha(1, 0.1).get()));
        }
    }
}

TEST_F(WidgetTest, ChooserLaysTilesOutInLinesOfWhatFitsTheWidth)
{
    struct Case {
        int tiles;
        CGFloat width;
        int perLine;
    };
    const Case cases[] = {{7, 300, 4}, {4, 300, 4}, {5, 300, 4}, {7, 200, 3}, {2, 90, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tiles << " tiles in " << c.width);
        fs::remove_all(device.host(std::string(vantorel::PluginsFolder)));
        for (int i = 0; i < c.tiles; ++i)
            install({"P" + std::to_string(i), "", ""});
        auto view = chooser(CGRectMake(0, 0, c.width, 400));
        const int lines = (c.tiles + c.perLine - 1) / c.perLine;
        for (int i = 0; i < c.tiles; ++i) {
            auto cell = tile(view, i);
            ASSERT_TRUE(cell);
            EXPECT_EQ(cell->frame().size, CGSizeMake(60, 100));
            EXPECT_EQ(cell->frame().origin.y, 10 + (i / c.perLine) * 110);
            if (i % c.perLine == 0) {
                EXPECT_EQ(cell->frame().origin.x, 10);
            }
        }
        EXPECT_EQ(gridOf(view)->contentSize().height, 20 + lines * 100 + (lines - 1) * 10);
    }
}

TEST_F(WidgetTest, ChoosingATileLoadsItsBundleBeforeTheDelegateHearsOfIt)
{
    install(kBare);
    install(kCalendar);
    install(kWeather);
    auto delegate = std::make_shared<ChoiceRecorder>();
    auto view = chooser(CGRectMake(0, 0, 300, 300), delegate);
    // Every host layout pass reloads the grid and configures the tiles again.
    for (int pass = 0; pass < 3; ++pass) {
        msgSend(view, "updateView"_sel);
        view->layoutIfNeeded();
    }
    for (const auto& cell : gridOf(view)->visibleCells())
        EXPECT_EQ(cell->gestureRecognizers().size(), 1u);

    // One line of three (Bare, Calendar, Weather) from the left inset: tile i is centred at
    // x = 10 + 60 i + 30.
    events.clear();
    EXPECT_EQ(simulateTap(view.get(), CGPointMake(160, 60)), SimulatedTapResult::Recognized);
    EXPECT_EQ(events, (std::vector<std::string>{"load Weather.bundle", "chose TestWeatherWidgetView"}));

    events.clear();
    simulateTap(view.get(), CGPointMake(40, 60));
    EXPECT_EQ(events, (std::vector<std::string>{"load Bare.bundle", "chose nil"}));

    events.clear();
    EXPECT_TRUE(gridOf(view)->selectItemByUser(NSIndexPath::indexPathForItemInSection(1, 0)));
    EXPECT_EQ(events, (std::vector<std::string>{"load Calendar.bundle", "chose TestWidgetView"}));
}

TEST_F(WidgetTest, AllWidgetsModeShowsAPluginOnlyOnceTheChooserIsUsed)
{
    install(kCalendar);
    device.writeFile(std::string(vantorel::SettingsFile), plist("<key>allWidgets</key><true/>"));
    loadSettings();
    EXPECT_EQ(vantorel::settings.selectedWidgetClass, nullptr);
    EXPECT_FALSE(NSBundle::bundleWithPath(vantorel::pluginBundlePath("Calendar"))->isLoaded());

    auto delegate = std::make_shared<ChoiceRecorder>();
    auto view = chooser(CGRectMake(0, 0, 300, 300), delegate);
    simulateTap(view.get(), CGPointMake(40, 60));
    ASSERT_TRUE(delegate->last);
    auto plugin = pluginViewOf(widgetFor(delegate->last));
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin->isa()->name(), "TestWidgetView");
}
