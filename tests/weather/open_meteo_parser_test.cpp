#include "fixture_server.h"
#include "weather/condition_codes.h"
#include "weather/open_meteo_parser.h"

#include <gtest/gtest.h>

using namespace weather;
using weathertest::fixture;

namespace {

std::string answerWith(const std::string& current, const std::string& hourly)
{
    std::string body = "{\"latitude\":1,\"longitude\":2";
    if (!current.empty())
        body += ",\"current\":" + current;
    if (!hourly.empty())
        body += ",\"hourly\":" + hourly;
    return body + "}";
}

const std::string kCurrent = R"({"time":"2024-05-14T14:15","temperature_2m":10.5,"weather_code":3,"is_day":1})";
const std::string kHourly =
    R"({"time":["2024-05-14T14:00","2024-05-14T15:00"],"temperature_2m":[10,11],"weather_code":[3,3],"is_day":[1,1]})";

} // namespace

TEST(WeatherOpenMeteoParser, ReadsTheCurrentWeatherAndTheComingHoursOfARecordedAnswer)
{
    auto report = parseOpenMeteoForecast(fixture("forecast_good.json"), 12);
    ASSERT_TRUE(report);
    EXPECT_DOUBLE_EQ(report->temperatureCelsius, 21.5);
    EXPECT_EQ(report->conditionCode, kPartlyCloudyDay);
    EXPECT_FALSE(report->locationID);

    ASSERT_EQ(report->hours.size(), 12u);
    EXPECT_EQ(report->hours.front().time, "14:00");
    EXPECT_EQ(report->hours[10].time, "00:00");
    EXPECT_EQ(report->hours.back().time, "01:00");
    EXPECT_DOUBLE_EQ(report->hours[2].temperatureCelsius, 22.8);
    const long expected[] = {30, 30, 26, 40, 12, 12, 26, 33, 31, 31, 20, 20};
    for (std::size_t i = 0; i < 12; ++i)
        EXPECT_EQ(report->hours[i].conditionCode, expected[i]) << "hour " << i;

    auto fewer = parseOpenMeteoForecast(fixture("forecast_good.json"), 5);
    ASSERT_TRUE(fewer);
    EXPECT_EQ(fewer->hours.size(), 5u);
}

TEST(WeatherOpenMeteoParser, StartsAtTheCurrentHourAndLeavesOutHoursWithoutValues)
{
    auto report = parseOpenMeteoForecast(fixture("forecast_winter_night.json"), 12);
    ASSERT_TRUE(report);
    EXPECT_DOUBLE_EQ(report->temperatureCelsius, -0.4);
    EXPECT_EQ(report->conditionCode, kClearNight);
    ASSERT_EQ(report->hours.size(), 3u);
    EXPECT_EQ(report->hours[0].time, "23:00");
    EXPECT_EQ(report->hours[1].time, "01:00");
    EXPECT_EQ(report->hours[1].conditionCode, kSnowFlurries);
    EXPECT_EQ(report->hours[2].time, "02:00");
    EXPECT_EQ(report->hours[2].conditionCode, kThunderstorms);
}

TEST(WeatherOpenMeteoParser, MapsEveryWMOCodeOntoAConditionCodeWithDayAndNight)
{
    struct Row {
        long wmo;
        long day;
        long night;
    };
    const Row table[] = {
        {0, 32, 31}, {1, 34, 33}, {2, 30, 29}, {3, 26, 26}, {45, 20, 20}, {48, 20, 20}, {51, 9, 9}, {53, 9, 9},
        {55, 9, 9}, {56, 8, 8}, {57, 8, 8}, {61, 12, 12}, {63, 12, 12}, {65, 12, 12}, {66, 10, 10}, {67, 10, 10},
        {71, 13, 13}, {73, 16, 16}, {75, 41, 41}, {77, 16, 16}, {80, 40, 40}, {81, 11, 11}, {82, 11, 11},
        {85, 42, 42}, {86, 46, 46}, {95, 4, 4}, {96, 45, 45}, {99, 3, 3},
    };
    for (const Row& row : table) {
        EXPECT_EQ(conditionForWMOCode(row.wmo, true), row.day) << "WMO " << row.wmo;
        EXPECT_EQ(conditionForWMOCode(row.wmo, false), row.night) << "WMO " << row.wmo;
    }
    for (long unknown : {-1L, 4L, 47L, 50L, 100L, 3200L})
        EXPECT_FALSE(conditionForWMOCode(unknown, true)) << "WMO " << unknown;
}

TEST(WeatherOpenMeteoParser, RefusesAnswersThatAreNotACompleteForecast)
{
    EXPECT_FALSE(parseOpenMeteoForecast(fixture("forecast_truncated.json"), 12));
    EXPECT_FALSE(parseOpenMeteoForecast(fixture("forecast_missing_current.json"), 12));
    EXPECT_FALSE(parseOpenMeteoForecast(fixture("forecast_error.json"), 12));
    EXPECT_FALSE(parseOpenMeteoForecast("", 12));
    EXPECT_FALSE(parseOpenMeteoForecast("[1,2,3]", 12));
    EXPECT_FALSE(parseOpenMeteoForecast("<html>Service unavailable</html>", 12));

    // The well-formed baseline, so that each case below fails for its own reason.
    ASSERT_TRUE(parseOpenMeteoForecast(answerWith(kCurrent, kHourly), 12));
    EXPECT_FALSE(parseOpenMeteoForecast(answerWith(kCurrent, ""), 12));
    EXPECT_FALSE(parseOpenMeteoForecast(
        answerWith(R"({"time":"2024-05-14T14:15","temperature_2m":"10.5","weather_code":3})", kHourly), 12));
    EXPECT_FALSE(parseOpenMeteoForecast(
        answerWith(R"({"time":"2024-05-14T14:15","temperature_2m":10.5,"weather_code":3.5})", kHourly), 12));
    EXPECT_FALSE(parseOpenMeteoForecast(
        answerWith(R"({"time":"2024-05-14T14:15","temperature_2m":10.5,"weather_code":42})", kHourly), 12));
    EXPECT_FALSE(parseOpenMeteoForecast(answerWith(R"({"temperature_2m":10.5,"weather_code":3})", kHourly), 12));
    EXPECT_FALSE(parseOpenMeteoForecast(
        answerWith(kCurrent, R"({"time":["2024-05-14T14:00"],"temperature_2m":[10,11],"weather_code":[3,3]})"), 12));
    EXPECT_FALSE(parseOpenMeteoForecast(
        answerWith(kCurrent, R"({"time":["2024-05-14T14:00"],"temperature_2m":[10],"weather_code":[7]})"), 12));
    EXPECT_FALSE(parseOpenMeteoForecast(
        answerWith(kCurrent, R"({"time":["yesterday"],"temperature_2m":[10],"weather_code":[3]})"), 12));
    // Only hours that are already over: nothing to show.
    EXPECT_FALSE(parseOpenMeteoForecast(
        answerWith(kCurrent, R"({"time":["2024-05-14T13:00"],"temperature_2m":[10],"weather_code":[3]})"), 12));
}

TEST(WeatherOpenMeteoParser, TakesDaylightAsGivenOrAsDayWhenAbsent)
{
    auto report = parseOpenMeteoForecast(
        answerWith(R"({"time":"2024-05-14T14:15","temperature_2m":10.5,"weather_code":0})",
                   R"({"time":["2024-05-14T14:00","2024-05-14T15:00"],"temperature_2m":[10,11],"weather_code":[0,1],"is_day":[true,0]})"),
        12);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->conditionCode, kSunny);
    EXPECT_EQ(report->hours[0].conditionCode, kSunny);
    EXPECT_EQ(report->hours[1].conditionCode, kFairNight);
}
