#include "foundation/runloop.h"
#include "foundation/timezone.h"
#include "weather/condition_codes.h"
#include "weather/offline_weather_model.h"
#include "weather/offline_weather_service.h"

#include <chrono>
#include <gtest/gtest.h>
#include <set>

using namespace weather;
using namespace std::chrono;

namespace {

double at(year_month_day day, int hourUTC, int minute = 0)
{
    return static_cast<double>((sys_days{day} + hours{hourUTC} + minutes{minute}).time_since_epoch() / 1s);
}

constexpr WeatherCoordinates kStuttgart{48.78, 9.18};
constexpr WeatherCoordinates kSingapore{1.35, 103.82};
constexpr WeatherCoordinates kMelbourne{-37.81, 144.96};
constexpr WeatherCoordinates kResolute{74.7, -94.83};

double averageTemperature(WeatherCoordinates where, year_month_day first, int days)
{
    double sum = 0;
    for (int d = 0; d < days; ++d)
        for (int h = 0; h < 24; ++h)
            sum += inventWeather(where, at(sys_days{first} + std::chrono::days{d}, h)).temperatureCelsius;
    return sum / (days * 24);
}

bool isDaytimeForm(long code)
{
    return code == kSunny || code == kFairDay || code == kPartlyCloudyDay || code == kMostlyCloudyDay;
}
bool isNighttimeForm(long code)
{
    return code == kClearNight || code == kFairNight || code == kPartlyCloudyNight || code == kMostlyCloudyNight;
}
bool isRain(long code)
{
    return code == kDrizzle || code == kRain || code == kShowers || code == kThunderstorms;
}
bool isSnow(long code)
{
    return code == kSnowFlurries || code == kSnow || code == kSnowShowers || code == kHeavySnow;
}

} // namespace

TEST(WeatherOffline, TheSamePlaceAndHourAlwaysGiveTheSameWeather)
{
    const double noon = at(2024y / May / 14, 12);
    const InventedWeather first = inventWeather(kStuttgart, noon);
    const InventedWeather again = inventWeather(kStuttgart, at(2024y / May / 14, 12, 47));
    EXPECT_EQ(first.temperatureCelsius, again.temperatureCelsius);
    EXPECT_EQ(first.conditionCode, again.conditionCode);

    const WeatherReport report = OfflineWeatherService::reportAt(kStuttgart, noon + 600);
    const WeatherReport repeated = OfflineWeatherService::reportAt(kStuttgart, noon + 1800);
    ASSERT_EQ(report.hours.size(), repeated.hours.size());
    for (std::size_t i = 0; i < report.hours.size(); ++i) {
        EXPECT_EQ(report.hours[i].temperatureCelsius, repeated.hours[i].temperatureCelsius);
        EXPECT_EQ(report.hours[i].conditionCode, repeated.hours[i].conditionCode);
    }

    // Another place or another day is another draw: over a month, they cannot all agree.
    int differentConditions = 0;
    for (int d = 0; d < 30; ++d) {
        const double when = at(sys_days{2024y / March / 1} + days{d}, 12);
        differentConditions += inventWeather(kStuttgart, when).conditionCode !=
                               inventWeather({48.78, 11.58}, when).conditionCode;
    }
    EXPECT_GT(differentConditions, 3);
}

TEST(WeatherOffline, TemperaturesSuitLatitudeSeasonAndTimeOfDay)
{
    const double julyStuttgart = averageTemperature(kStuttgart, 2024y / July / 1, 28);
    const double januaryStuttgart = averageTemperature(kStuttgart, 2024y / January / 1, 28);
    EXPECT_GT(julyStuttgart, 12);
    EXPECT_LT(julyStuttgart, 26);
    EXPECT_GT(januaryStuttgart, -8);
    EXPECT_LT(januaryStuttgart, 6);

    // The southern hemisphere has its seasons the other way round.
    EXPECT_GT(averageTemperature(kMelbourne, 2024y / January / 1, 28),
              averageTemperature(kMelbourne, 2024y / July / 1, 28) + 5);
    // The tropics stay warm all year, the high Arctic stays below freezing in winter.
    for (auto month : {January, April, July, October}) {
        const double tropical = averageTemperature(kSingapore, 2024y / month / 1, 7);
        EXPECT_GT(tropical, 20);
        EXPECT_LT(tropical, 34);
    }
    EXPECT_LT(averageTemperature(kResolute, 2024y / January / 1, 28), -10);

    // Afternoons are warmer than the small hours (Stuttgart is an hour ahead of UTC in solar time
    // only by 37 minutes, so 14:00 and 03:00 UTC are near the daily extremes).
    int warmerAfternoons = 0;
    for (int d = 0; d < 20; ++d) {
        const auto day = sys_days{2024y / June / 1} + days{d};
        warmerAfternoons += inventWeather(kStuttgart, at(day, 14)).temperatureCelsius >
                            inventWeather(kStuttgart, at(day, 3)).temperatureCelsius;
    }
    EXPECT_EQ(warmerAfternoons, 20);
}

TEST(WeatherOffline, ConditionsSuitDaylightAndTemperature)
{
    std::set<long> seen;
    for (int d = 0; d < 365; d += 3) {
        const auto day = sys_days{2024y / January / 1} + days{d};
        // Solar noon and solar midnight in Stuttgart (about 11:23 and 23:23 UTC).
        const InventedWeather noon = inventWeather(kStuttgart, at(day, 11));
        const InventedWeather midnight = inventWeather(kStuttgart, at(day, 23));
        EXPECT_TRUE(noon.daylight);
        EXPECT_FALSE(midnight.daylight);
        EXPECT_FALSE(isNighttimeForm(noon.conditionCode)) << noon.conditionCode;
        EXPECT_FALSE(isDaytimeForm(midnight.conditionCode)) << midnight.conditionCode;
        for (const InventedWeather& w : {noon, midnight}) {
            EXPECT_TRUE(isConditionCode(w.conditionCode));
            if (w.temperatureCelsius <= 0) {
                EXPECT_FALSE(isRain(w.conditionCode)) << w.conditionCode << " at " << w.temperatureCelsius;
            }
            if (w.temperatureCelsius >= 2) {
                EXPECT_FALSE(isSnow(w.conditionCode)) << w.conditionCode << " at " << w.temperatureCelsius;
            }
            seen.insert(w.conditionCode);
        }
    }
    // A year of weather is not one kind of sky.
    EXPECT_GE(seen.size(), 8u);
}

TEST(WeatherOffline, ReportsTwelveHoursOnTheDeviceClockStartingWithTheCurrentOne)
{
    const std::string previousZone = foundation::deviceTimeZone();
    foundation::setDeviceTimeZone("Europe/Berlin");
    const WeatherReport report = OfflineWeatherService::reportAt(kStuttgart, at(2024y / May / 14, 18, 40));
    foundation::setDeviceTimeZone(previousZone);

    ASSERT_EQ(report.hours.size(), kForecastHours);
    const char* expected[] = {"20:00", "21:00", "22:00", "23:00", "00:00", "01:00",
                              "02:00", "03:00", "04:00", "05:00", "06:00", "07:00"};
    for (std::size_t i = 0; i < report.hours.size(); ++i)
        EXPECT_EQ(report.hours[i].time, expected[i]);
    EXPECT_EQ(report.temperatureCelsius, report.hours[0].temperatureCelsius);
    EXPECT_EQ(report.conditionCode, report.hours[0].conditionCode);
    EXPECT_FALSE(report.locationID);
}

TEST(WeatherOffline, AnswersOnALaterPassOfTheMainRunLoop)
{
    OfflineWeatherService service;
    EXPECT_EQ(service.name(), "OfflineWeatherService");
    bool answered = false;
    std::optional<WeatherReport> received;
    service.fetchWeather(kStuttgart, [&](std::optional<WeatherReport> report) {
        answered = true;
        received = std::move(report);
    });
    EXPECT_FALSE(answered);
    ASSERT_TRUE(NSRunLoop::mainRunLoop()->runUntil([&] { return answered; }, 5));
    ASSERT_TRUE(received);
    EXPECT_EQ(received->hours.size(), kForecastHours);
}
