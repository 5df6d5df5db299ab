// The Weather plug-in as the host sees it: its staged bundle loaded by NSBundle, its view made
// with alloc/initWithFrame:, shown and refreshed by the library's widget host. The city file is
// written the way the weather daemon writes it.
#include "common/city_file.h"
#include "common/support_paths.h"
#include "foundation/clock.h"
#include "foundation/locale.h"
#include "foundation/ns_array.h"
#include "foundation/ns_bundle.h"
#include "foundation/ns_string.h"
#include "foundation/timezone.h"
#include "support/device_root.h"
#include "support/support.h"
#include "uikit/collection_view.h"
#include "uikit/collection_view_cell.h"
#include "uikit/image_view.h"
#include "uikit/index_path.h"
#include "uikit/label.h"
#include "uikit/snapshot.h"
#include "weather/city.h"
#include "weather/hourly_forecast.h"
#include "weather/weather_image_loader.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using objc::operator""_sel;
using objc::id;

namespace {

struct Hour {
    std::string time;
    std::string detail;
    long code = 32;
};

std::shared_ptr<NSIndexPath> item(long i) { return NSIndexPath::indexPathForItemInSection(i, 0); }

class WeatherPluginTest : public testsupport::DeviceRootTest {
protected:
    void SetUp() override
    {
        foundation::useVirtualClock(1796688000); // 2026-12-08 00:00 UTC
        foundation::setDeviceTimeZone("UTC");
        foundation::setDeviceLocale("en_US");
        installBundle();
    }
    void TearDown() override
    {
        foundation::setDeviceLocale("en_US");
        foundation::useRealClock();
    }

    // The staged bundle in this test's device root. The executable is a link to the built one,
    // so that the loader finds the object it already has when several tests run in one process.
    void installBundle() const
    {
        const fs::path staged = fs::path(testsupport::buildDir()) / "device" /
                                std::string(vantorel::pluginBundlePath("Weather")).substr(1);
        const fs::path bundle = device.host(vantorel::pluginBundlePath("Weather"));
        fs::create_directories(bundle);
        for (const auto& entry : fs::directory_iterator(staged)) {
            if (entry.path().filename() == "Weather")
                fs::create_symlink(entry.path(), bundle / "Weather");
            else
                fs::copy(entry.path(), bundle / entry.path().filename());
        }
    }

    // What the daemon does after a successful update.
    static void writeForecast(const std::vector<Hour>& hours)
    {
        std::vector<id> entries;
        for (const Hour& hour : hours) {
            auto forecast = std::make_shared<HourlyForecast>();
            forecast->setTime(NSStr(hour.time));
            forecast->setDetail(NSStr(hour.detail));
            forecast->setConditionCode(hour.code);
            entries.push_back(forecast);
        }
        auto city = std::make_shared<City>();
        city->setTemperature(NSStr("21"));
        city->setHourlyForecasts(NSArray::arrayWithObjects(entries));
        ASSERT_TRUE(vantorel::writeCityFile(city));
    }

    // alloc, then initWithFrame:, on the bundle's principal class.
    static std::shared_ptr<UIView> makeWidget(CGRect frame = CGRectMake(0, 0, 320, 460))
    {
        auto bundle = NSBundle::bundleWithPath(vantorel::pluginBundlePath("Weather"));
        objc::Class cls = bundle ? bundle->principalClass() : nullptr;
        if (!cls)
            return nullptr;
        const id instance = objc::msgSend<id>(cls, "alloc"_sel);
        return std::dynamic_pointer_cast<UIView>(objc::msgSend<id>(instance, "initWithFrame:"_sel, frame));
    }

    static std::shared_ptr<UICollectionView> grid(const std::shared_ptr<UIView>& widget)
    {
        return objc::msgSend<std::shared_ptr<UICollectionView>>(widget, "weatherSlides"_sel);
    }

    // The text of one row ("timeLabel" or "tempLabel") of every tile, in item order.
    static std::vector<std::string> column(const std::shared_ptr<UIView>& widget, const char* row)
    {
        std::vector<std::string> texts;
        auto view = grid(widget);
        for (long i = 0; i < view->numberOfItemsInSection(0); ++i) {
            auto cell = view->cellForItemAtIndexPath(item(i));
            texts.push_back(cell ? objc::msgSend<std::shared_ptr<UILabel>>(cell, objc::sel_registerName(row))->text()
                                 : "<no tile>");
        }
        return texts;
    }

    static std::vector<std::string> hours(const std::shared_ptr<UIView>& widget) { return column(widget, "timeLabel"); }

    // The library's widget host showing the bundle's principal class, as the lock screen has it.
    static std::shared_ptr<UIView> hostWidget()
    {
        auto host = objc::msgSend<std::shared_ptr<UIView>>(objc::msgSend<id>(objc::objc_getClass("VTWidget"), "alloc"_sel),
                                                           "initWithFrame:"_sel, CGRectMake(0, 0, 320, 460));
        objc::msgSend(host, "setWidgetClass:"_sel,
                      NSBundle::bundleWithPath(vantorel::pluginBundlePath("Weather"))->principalClass());
        objc::msgSend(host, "updateView"_sel);
        return host;
    }
    static std::shared_ptr<UIView> pluginView(const std::shared_ptr<UIView>& host)
    {
        return objc::msgSend<std::shared_ptr<UIView>>(host, "pluginView"_sel);
    }
};

} // namespace

TEST_F(WeatherPluginTest, LoadsFromItsBundleAndLaysOutSixtyByHundredTiles)
{
    auto bundle = NSBundle::bundleWithPath(vantorel::pluginBundlePath("Weather"));
    ASSERT_TRUE(bundle);
    objc::Class cls = bundle->principalClass();
    ASSERT_TRUE(cls);
    EXPECT_EQ(cls->name(), "Weather");
    EXPECT_TRUE(cls->isSubclassOf(UIView::class_()));
    EXPECT_NE(bundle->pathForResourceOfType("Weather", "png"), "");

    writeForecast({{"15:00", "21°", 32}, {"16:00", "20°", 30}, {"17:00", "19°", 11}, {"18:00", "18°", 4},
                   {"19:00", "17°", 26}, {"20:00", "16°", 31}, {"21:00", "15°", 47}});
    auto widget = makeWidget(CGRectMake(0, 0, 320, 210));
    ASSERT_TRUE(widget);
    auto view = grid(widget);
    ASSERT_TRUE(view);

    // Inset 10 all round, no gap between tiles, the layout's own 10 between lines.
    const std::pair<long, CGRect> frames[] = {
        {0, CGRectMake(10, 10, 60, 100)}, {1, CGRectMake(70, 10, 60, 100)},
        {4, CGRectMake(250, 10, 60, 100)}, {5, CGRectMake(10, 120, 60, 100)},
    };
    for (auto [index, frame] : frames)
        EXPECT_EQ(view->layoutAttributesForItemAtIndexPath(item(index))->frame, frame) << index;

    // The three rows sit on the tile itself, above its content view, in this order.
    auto tile = view->cellForItemAtIndexPath(item(2));
    ASSERT_TRUE(tile);
    const auto& rows = tile->subviews();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], tile->contentView());
    EXPECT_EQ(rows[1], objc::msgSend<id>(tile, "timeLabel"_sel));
    EXPECT_EQ(rows[2], objc::msgSend<id>(tile, "conditionImageView"_sel));
    EXPECT_EQ(rows[3], objc::msgSend<id>(tile, "tempLabel"_sel));
    for (std::size_t i = 1; i < 4; ++i)
        EXPECT_EQ(rows[i]->frame(), CGRectMake(0, 30.0 * static_cast<double>(i - 1), 60, 25)) << i;

    // "12AM" may shrink to 10 points to fit; the picture keeps its own size.
    EXPECT_DOUBLE_EQ(std::static_pointer_cast<UILabel>(rows[1])->minimumScaleFactor(), 10.0 / 18);
    auto picture = std::static_pointer_cast<UIImageView>(rows[2]);
    EXPECT_EQ(picture->contentMode(), UIViewContentMode::Center);
    EXPECT_EQ(picture->image(), WeatherImageLoader::conditionImageWithConditionIndex(11));
    EXPECT_EQ(tile->layer()->cornerRadius(), 5);
    EXPECT_TRUE(tile->backgroundColor()->isEqual(UIColor::colorWithWhiteAlpha(1, 0.1).get()));
}

TEST_F(WeatherPluginTest, HoursShowInTheDeviceLocaleAndDetailsUnchanged)
{
    writeForecast({{"00:00", "21°"}, {"12:00", "-3 °F"}, {"15:00", ""}, {"09:30", "n/a ☂"},
                   {"24:00", "x"}, {"14:6x", "x"}, {"3 PM", "x"}, {"", "x"}});
    auto widget = makeWidget();
    ASSERT_TRUE(widget);
    EXPECT_EQ(column(widget, "tempLabel"),
              (std::vector<std::string>{"21°", "-3 °F", "", "n/a ☂", "x", "x", "x", "x"}));

    // The file's 24-hour times are read the same whatever the device prefers; only the
    // output follows the device's locale.
    const std::pair<const char*, std::vector<std::string>> locales[] = {
        {"en_US", {"12AM", "12PM", "3PM", "9AM", "", "", "", ""}},
        {"en_GB@hours=h12", {"12am", "12pm", "3pm", "9am", "", "", "", ""}},
        {"ko_KR", {"12오전", "12오후", "3오후", "9오전", "", "", "", ""}},
        {"ja_JP", {"12午前", "12午後", "3午後", "9午前", "", "", "", ""}},
    };
    for (const auto& [locale, expected] : locales) {
        foundation::setDeviceLocale(locale);
        objc::msgSend(widget, "reloadCells"_sel);
        EXPECT_EQ(hours(widget), expected) << locale;
    }
    EXPECT_EQ(objc::msgSend<std::shared_ptr<NSString>>(widget, "convertTimeFromMilitary:"_sel, NSStr("bad")), nullptr);
}

TEST_F(WeatherPluginTest, ReadsTheCityFileWhenMadeAndWhenTheHostReloadsIt)
{
    // No file, then a file that is no property list: no tiles.
    auto widget = makeWidget();
    ASSERT_TRUE(widget);
    EXPECT_EQ(objc::msgSend<id>(widget, "hourlyForcast"_sel), nullptr);
    EXPECT_EQ(grid(widget)->numberOfItemsInSection(0), 0);
    device.writeFile(std::string(vantorel::CityFile), "not a property list");
    objc::msgSend(widget, "reloadCells"_sel);
    EXPECT_EQ(grid(widget)->numberOfItemsInSection(0), 0);
    EXPECT_TRUE(grid(widget)->visibleCells().empty());

    writeForecast({{"15:00", "21°"}, {"16:00", "20°"}});
    auto host = hostWidget();
    auto shown = pluginView(host);
    EXPECT_EQ(hours(shown), (std::vector<std::string>{"3PM", "4PM"}));

    // The daemon rewrites the file: the grid keeps the hours it read until the host reloads it.
    writeForecast({{"18:00", "17°"}, {"19:00", "16°"}, {"20:00", "15°"}});
    host->setFrame(CGRectMake(0, 0, 320, 470));
    host->layoutIfNeeded();
    EXPECT_EQ(hours(shown), (std::vector<std::string>{"3PM", "4PM"}));
    objc::msgSend(host, "reloadWeatherInfo"_sel);
    EXPECT_EQ(hours(shown), (std::vector<std::string>{"6PM", "7PM", "8PM"}));
    EXPECT_EQ(column(shown, "tempLabel"), (std::vector<std::string>{"17°", "16°", "15°"}));
    // The grid follows the size the host gives the view.
    EXPECT_EQ(grid(shown)->frame(), CGRectMake(0, 0, 320, 470));
}

TEST_F(WeatherPluginTest, TilesTakeTheBlendLayersFilterOnlyOnceTheyAreMadeWithIt)
{
    writeForecast({{"15:00", "21°"}, {"16:00", "20°"}});
    auto host = hostWidget();
    auto shown = pluginView(host);
    auto filters = [&] {
        std::vector<std::string> seen;
        for (long i = 0; i < 2; ++i)
            seen.push_back(grid(shown)->cellForItemAtIndexPath(item(i))->layer()->compositingFilter());
        return seen;
    };
    EXPECT_EQ(filters(), (std::vector<std::string>{"", ""}));

    auto layer = CALayer::layer();
    layer->setCompositingFilter("screenBlendMode");
    objc::msgSend(shown, "setBlendLayer:"_sel, layer);
    EXPECT_EQ(filters(), (std::vector<std::string>{"", ""})) << "tiles made before the layer came";
    objc::msgSend(host, "setPopLayer:"_sel, layer);
    objc::msgSend(host, "reloadWeatherInfo"_sel);
    EXPECT_EQ(objc::msgSend<id>(shown, "blendLayer"_sel), layer);
    EXPECT_EQ(filters(), (std::vector<std::string>{"screenBlendMode", "screenBlendMode"}));
    objc::msgSend(host, "setPopLayer:"_sel, nullptr);
    objc::msgSend(host, "reloadWeatherInfo"_sel);
    EXPECT_EQ(filters(), (std::vector<std::string>{"", ""}));
}

// The widget area as the lock screen shows it: the grid over a dark backdrop. Compared with the
// reviewed picture beside this file; the new picture is written to the build folder.
TEST_F(WeatherPluginTest, WidgetAreaLooksAsReviewed)
{
    writeForecast({{"15:00", "21°", 32}, {"16:00", "21°", 30}, {"17:00", "20°", 28}, {"18:00", "18°", 11},
                   {"19:00", "17°", 4}, {"20:00", "15°", 26}, {"21:00", "14°", 29}, {"22:00", "13°", 31},
                   {"23:00", "12°", 20}, {"00:00", "11°", 15}});
    auto area = UIView::create<UIView>(CGRectMake(0, 0, 320, 210));
    area->setBackgroundColor(UIColor::colorWithRedGreenBlueAlpha(0.08, 0.10, 0.16, 1));
    auto widget = makeWidget(area->bounds());
    ASSERT_TRUE(widget);
    area->addSubview(widget);
    area->layoutIfNeeded();

    const std::string actualPath = std::string(WEATHER_OUTPUT_DIR) + "/weather_widget_area.png";
    ASSERT_TRUE(snapshot(area.get(), actualPath));
    const std::string referencePath = std::string(WEATHER_REFERENCE_DIR) + "/weather_widget_area.png";
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> actual(
        cairo_image_surface_create_from_png(actualPath.c_str()), cairo_surface_destroy);
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> reference(
        cairo_image_surface_create_from_png(referencePath.c_str()), cairo_surface_destroy);
    ASSERT_EQ(cairo_surface_status(reference.get()), CAIRO_STATUS_SUCCESS) << "no reviewed picture; see " << actualPath;
    const int height = cairo_image_surface_get_height(actual.get());
    const int stride = cairo_image_surface_get_stride(actual.get());
    ASSERT_EQ(height, cairo_image_surface_get_height(reference.get()));
    ASSERT_EQ(stride, cairo_image_surface_get_stride(reference.get()));

    // Another version of the font machinery may draw text edges a little differently: a few
    // soft pixel differences pass, a changed layout does not.
    const unsigned char* a = cairo_image_surface_get_data(actual.get());
    const unsigned char* b = cairo_image_surface_get_data(reference.get());
    long differing = 0;
    for (long pixel = 0; pixel < long(height) * stride; pixel += 4)
        differing += std::abs(a[pixel] - b[pixel]) > 40 || std::abs(a[pixel + 1] - b[pixel + 1]) > 40 ||
                     std::abs(a[pixel + 2] - b[pixel + 2]) > 40 || std::abs(a[pixel + 3] - b[pixel + 3]) > 40;
    EXPECT_LE(differing, long(height) * stride / 4 / 200) << "compare " << actualPath << " with " << referencePath;
}
