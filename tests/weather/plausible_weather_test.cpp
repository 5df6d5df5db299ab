#include "weather/plausible_weather.h"
#include "weather/temperature_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace weather;

TEST(WeatherPlausibility, ClockTimesTemperaturesAndTheirTextsStayInRange)
{
    for (const char* time : {"00:00", "09:05", "23:59"})
        EXPECT_TRUE(isClockTime(time)) << time;
    for (const char* time : {"24:00", "99:99", "14:6x", "14:60", "1:00", "14:00 ", "14-00", "", "14:0\x07"})
        EXPECT_FALSE(isClockTime(time)) << time;

    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double celsius : {-100.0, -0.4, 21.5, 70.0})
        EXPECT_TRUE(isPlausibleTemperature(celsius)) << celsius;
    for (double celsius : {-100.5, 70.1, 1e300, -1e308, HUGE_VAL, nan})
        EXPECT_FALSE(isPlausibleTemperature(celsius)) << celsius;

    // Whatever a caller passes, the texts are numbers and rounding stays within long.
    const struct {
        double celsius;
        const char* text;
        const char* celsiusDetail;
    } rows[] = {
        {21.46, "21.5", "21\u00B0"}, {-0.04, "0", "0\u00B0"}, {1e308, "1e+308", "9200000000000000000\u00B0"},
        {-1e300, "-1e+300", "-9200000000000000000\u00B0"}, {nan, "0", "0\u00B0"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(temperatureText(row.celsius), row.text) << row.celsius;
        EXPECT_EQ(temperatureDetail(row.celsius, true), row.celsiusDetail) << row.celsius;
    }
    EXPECT_EQ(temperatureDetail(1e308, false), "9200000000000000000\u00B0");

    // A report keeps its sound hours only, and fails without any.
    WeatherReport report{21.5, 30, {{"14:00", 21, 30}, {"99:99", 20, 30}, {"15:00", 1e300, 30}, {"16:00", 19, 99}}, "a\x01"};
    auto kept = plausibleReport(report);
    ASSERT_TRUE(kept);
    ASSERT_EQ(kept->hours.size(), 1u);
    EXPECT_EQ(kept->hours[0].time, "14:00");
    EXPECT_FALSE(kept->locationID);
    report.hours.resize(1);
    report.hours[0].time = "24:00";
    EXPECT_FALSE(plausibleReport(report));
}
