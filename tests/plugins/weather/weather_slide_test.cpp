// The library's weather slide over the current city, with the shipped language texts.
#include "tweak_fixture.h"

#include "common/city_file.h"
#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "tweak/core/localization.h"
#include "tweak/core/settings.h"
#include "tweak/core/status_text.h"
#include "tweak/lockscreen/weather_slide.h"
#include "uikit/image_view.h"
#include "uikit/label.h"
#include "weather/city.h"
#include "weather/hourly_forecast.h"
#include "weather/weather_image_loader.h"

#include <gtest/gtest.h>

#include <cstdint>

using objc::operator""_sel;

namespace {

class WeatherSlideTest : public tweaktest::TweakTest {
protected:
    WeatherSlideTest()
    {
        writeSettings("<key>textColor</key><string>FF0000</string>");
        loadSettings();
        generateLocalizations();
        setCity(3);
    }
    ~WeatherSlideTest() override { currentCity = nullptr; }

    // A current city with `count` hours from 14:00 (details "20°", "21°", ...), or none at -1.
    static void setCity(int count)
    {
        currentCity = nullptr;
        if (count < 0)
            return;
        auto city = std::make_shared<City>();
        auto list = NSMutableArray::array();
        for (int i = 0; i < count; ++i) {
            auto hour = std::make_shared<HourlyForecast>();
            hour->setTime(NSStr(std::to_string(14 + i) + ":00"));
            hour->setDetail(NSStr(std::to_string(20 + i) + "°"));
            hour->setConditionCode(30 + i);
            list->addObject(hour);
        }
        city->setHourlyForecasts(list);
        ASSERT_TRUE(vantorel::writeCityFile(city));
        didUpdateWeather();
    }

    static std::shared_ptr<VTWeatherSlide> makeSlide() { return UIView::create<VTWeatherSlide>(CGRectMake(0, 0, 70, 110)); }

    template <class T>
    static std::shared_ptr<T> part(const std::shared_ptr<VTWeatherSlide>& slide, const char* name)
    {
        return objc::object_ivar<std::shared_ptr<T>>(slide.get(), name);
    }
    static std::string text(const std::shared_ptr<VTWeatherSlide>& slide, const char* row)
    {
        return part<UILabel>(slide, row)->text();
    }
};

} // namespace

TEST_F(WeatherSlideTest, ShowsTheEntryAtItsIndexWithNowForTheFirst)
{
    auto slide = makeSlide();
    ASSERT_TRUE(slide);
    EXPECT_EQ(objc::msgSend<std::shared_ptr<NSMutableArray>>(slide, "hourlyForcast"_sel)->count(), 3u);
    struct Case {
        std::uint64_t index;
        const char* hour;
        const char* detail;
        long code;
    };
    for (const Case& c : {Case{0, "Now", "20°", 30}, Case{2, "16:00", "22°", 32}, Case{1, "15:00", "21°", 31}}) {
        objc::msgSend(slide, "setIndex:"_sel, c.index);
        objc::msgSend(slide, "update"_sel);
        EXPECT_EQ(text(slide, "timeLabel"), c.hour) << c.index;
        EXPECT_EQ(text(slide, "tempLabel"), c.detail) << c.index;
        EXPECT_EQ(part<UIImageView>(slide, "conditionImg")->image(), WeatherImageLoader::conditionImageWithConditionIndex(c.code));
    }

    // The card: a border view behind three overlapping rows, in the text colour.
    auto border = part<UIView>(slide, "borderLayer");
    EXPECT_EQ(slide->subviews().front(), border);
    EXPECT_EQ(border->frame(), slide->bounds());
    EXPECT_EQ(border->layer()->borderWidth(), 2.0);
    EXPECT_EQ(border->layer()->cornerRadius(), 4.0);
    EXPECT_EQ(*border->layer()->borderColor(), (CGColor{1, 0, 0, 0.2}));
    EXPECT_EQ(part<UILabel>(slide, "timeLabel")->frame(), CGRectMake(0, 0, 70, 50));
    EXPECT_EQ(part<UIImageView>(slide, "conditionImg")->frame(), CGRectMake(0, 30, 70, 50));
    EXPECT_EQ(part<UILabel>(slide, "tempLabel")->frame(), CGRectMake(0, 60, 70, 50));
    EXPECT_TRUE(part<UILabel>(slide, "tempLabel")->textColor()->isEqual(UIColor::redColor().get()));
}

TEST_F(WeatherSlideTest, WithoutAnEntryToShowNothingChanges)
{
    auto slide = makeSlide();
    ASSERT_TRUE(slide);
    objc::msgSend(slide, "setIndex:"_sel, std::uint64_t{1});
    objc::msgSend(slide, "update"_sel);
    // Moved and rewritten by hand, so that any work done by update would show.
    for (const char* row : {"timeLabel", "tempLabel"}) {
        part<UILabel>(slide, row)->setFrame(CGRectMake(5, 5, 5, 5));
        part<UILabel>(slide, row)->setText("kept");
    }
    struct Case {
        const char* what;
        int hours;
        std::uint64_t index;
    };
    for (const Case& c : {Case{"no city", -1, 0}, Case{"empty list", 0, 0}, Case{"index at the end", 3, 3},
                          Case{"index past the end", 3, 7}, Case{"largest index", 3, UINT64_MAX}}) {
        setCity(c.hours);
        objc::msgSend(slide, "setIndex:"_sel, c.index);
        objc::msgSend(slide, "update"_sel);
        for (const char* row : {"timeLabel", "tempLabel"}) {
            EXPECT_EQ(text(slide, row), "kept") << c.what;
            EXPECT_EQ(part<UILabel>(slide, row)->frame(), CGRectMake(5, 5, 5, 5)) << c.what;
        }
    }

    // Built while there is no city: empty rows.
    setCity(-1);
    auto empty = makeSlide();
    EXPECT_EQ(text(empty, "timeLabel"), "");
    EXPECT_EQ(objc::msgSend<std::shared_ptr<NSMutableArray>>(empty, "hourlyForcast"_sel), nullptr);
}

TEST_F(WeatherSlideTest, ColoursAreTakenWhenTheSlideIsBuilt)
{
    auto slide = makeSlide();
    writeSettings("<key>textColor</key><string>00FF00</string>");
    loadSettings();
    objc::msgSend(slide, "update"_sel);
    EXPECT_TRUE(part<UILabel>(slide, "timeLabel")->textColor()->isEqual(UIColor::redColor().get()));
    EXPECT_EQ(*part<UIView>(slide, "borderLayer")->layer()->borderColor(), (CGColor{1, 0, 0, 0.2}));

    auto later = makeSlide();
    EXPECT_EQ(*part<UIView>(later, "borderLayer")->layer()->borderColor(), (CGColor{0, 1, 0, 0.2}));
    EXPECT_TRUE(part<UILabel>(later, "timeLabel")->textColor()->isEqual(
        UIColor::colorWithRedGreenBlueAlpha(0, 1, 0, 1).get()));
}
