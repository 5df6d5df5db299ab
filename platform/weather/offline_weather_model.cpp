#include "weather/offline_weather_model.h"

#include "weather/condition_codes.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <numbers>

namespace weather {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDaysPerYear = 365.2425;

std::uint64_t mix(std::uint64_t x)
{
    // splitmix64's finaliser: cheap, and every input bit reaches every output bit.
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A number in [0, 1) fixed by its inputs.
double unit(std::initializer_list<std::int64_t> parts)
{
    std::uint64_t h = 0x5EED;
    for (std::int64_t part : parts)
        h = mix(h ^ static_cast<std::uint64_t>(part));
    return static_cast<double>(h >> 11) / static_cast<double>(1ull << 53);
}

double radians(double degrees) { return degrees * kPi / 180; }

struct Moment {
    std::int64_t hour;      // hours since the epoch
    std::int64_t day;       // days since the epoch
    double dayOfYear;       // 0 on the first of January
    double utcHourOfDay;    // 0 to 23
};

Moment momentOf(double epochSeconds)
{
    using namespace std::chrono;
    const auto hour = static_cast<std::int64_t>(std::floor(epochSeconds / 3600));
    const sys_days day{days{static_cast<std::int64_t>(std::floor(static_cast<double>(hour) / 24))}};
    const year_month_day date{day};
    const sys_days newYear{date.year() / January / 1};
    const std::int64_t dayNumber = day.time_since_epoch().count();
    return {hour, dayNumber, static_cast<double>((day - newYear).count()),
            static_cast<double>(hour - dayNumber * 24)};
}

bool sunIsUp(double latitude, double dayOfYear, double solarHour)
{
    const double declination = radians(23.44) * std::sin(2 * kPi * (284 + dayOfYear) / kDaysPerYear);
    const double hourAngle = radians((solarHour - 12) * 15);
    const double lat = radians(latitude);
    const double sinElevation =
        std::sin(lat) * std::sin(declination) + std::cos(lat) * std::cos(declination) * std::cos(hourAngle);
    return sinElevation > std::sin(radians(-0.833));
}

double temperatureAt(double latitude, std::int64_t cellLat, std::int64_t cellLon, const Moment& m, double solarHour)
{
    const double absLat = std::fabs(latitude);
    const double yearlyMean = 27 - 0.35 * absLat;
    const double seasonalSwing = 0.22 * absLat;
    const double warmestDay = latitude >= 0 ? 200 : 17;
    const double seasonal = seasonalSwing * std::cos(2 * kPi * (m.dayOfYear - warmestDay) / kDaysPerYear);
    const double daily = 4 * std::cos(2 * kPi * (solarHour - 15) / 24);
    const double today = 6 * unit({cellLat, cellLon, m.day, 1}) - 3;
    const double tomorrow = 6 * unit({cellLat, cellLon, m.day + 1, 1}) - 3;
    const double wobble = today + (tomorrow - today) * (m.utcHourOfDay / 24);
    return std::round((yearlyMean + seasonal + daily + wobble) * 10) / 10;
}

long precipitation(double temperature, long rainCode, long snowCode)
{
    if (temperature <= 0)
        return snowCode;
    if (temperature < 2)
        return kRainAndSnow;
    return rainCode;
}

long conditionAt(double temperature, bool daylight, std::int64_t cellLat, std::int64_t cellLon, const Moment& m,
                 double solarHour)
{
    // Days carry most of the weight so that a day keeps its character; blocks vary it.
    const double cloudiness = 0.6 * unit({cellLat, cellLon, m.day, 2}) +
                              0.4 * unit({cellLat, cellLon, m.hour / 6, 3});
    if (cloudiness < 0.30) {
        if (temperature >= 30)
            return kHot;
        if (temperature <= -15)
            return kCold;
        return daylight ? kSunny : kClearNight;
    }
    if (cloudiness < 0.46)
        return daylight ? kFairDay : kFairNight;
    if (cloudiness < 0.56)
        return daylight ? kPartlyCloudyDay : kPartlyCloudyNight;
    if (cloudiness < 0.64)
        return daylight ? kMostlyCloudyDay : kMostlyCloudyNight;
    if (cloudiness < 0.76) {
        const bool morning = solarHour >= 4 && solarHour < 10;
        if (morning && unit({cellLat, cellLon, m.day, 4}) < 0.4)
            return kFoggy;
        if (temperature >= 28)
            return kHaze;
        return kCloudy;
    }
    if (cloudiness < 0.84)
        return precipitation(temperature, kDrizzle, kSnowFlurries);
    if (cloudiness < 0.92)
        return precipitation(temperature, kRain, kSnow);
    if (cloudiness < 0.97)
        return precipitation(temperature, kShowers, kSnowShowers);
    if (temperature >= 12)
        return kThunderstorms;
    return temperature <= 0 ? kHeavySnow : kWindy;
}

} // namespace

InventedWeather inventWeather(WeatherCoordinates where, double epochSeconds)
{
    if (!areValidCoordinates(where))
        where = {};
    if (!std::isfinite(epochSeconds))
        epochSeconds = 0;
    const double latitude = std::clamp(where.latitude, -90.0, 90.0);
    const double longitude = std::remainder(where.longitude, 360.0);
    const auto cellLat = static_cast<std::int64_t>(std::lround(latitude * 10));
    const auto cellLon = static_cast<std::int64_t>(std::lround(longitude * 10));
    const Moment m = momentOf(epochSeconds);
    const double solarHour = std::fmod(m.utcHourOfDay + longitude / 15 + 48, 24.0);

    InventedWeather weather;
    weather.daylight = sunIsUp(latitude, m.dayOfYear, solarHour);
    weather.temperatureCelsius = temperatureAt(latitude, cellLat, cellLon, m, solarHour);
    weather.conditionCode = conditionAt(weather.temperatureCelsius, weather.daylight, cellLat, cellLon, m, solarHour);
    return weather;
}

} // namespace weather
