#include "weather/offline_weather_service.h"

#include "foundation/clock.h"
#include "foundation/date.h"
#include "foundation/runloop.h"
#include "foundation/timezone.h"
#include "weather/offline_weather_model.h"

#include <cmath>
#include <cstdio>

namespace weather {

namespace {

std::string deviceClockText(double epochSeconds)
{
    const auto zone = NSTimeZone::localTimeZone();
    const double offset =
        zone ? static_cast<double>(zone->secondsFromGMTForDate(NSDate::dateWithTimeIntervalSince1970(epochSeconds))) : 0;
    const auto minutes = static_cast<long long>(std::floor((epochSeconds + offset) / 60));
    const long long minuteOfDay = ((minutes % 1440) + 1440) % 1440;
    char text[8];
    std::snprintf(text, sizeof text, "%02lld:%02lld", minuteOfDay / 60, minuteOfDay % 60);
    return text;
}

} // namespace

WeatherReport OfflineWeatherService::reportAt(WeatherCoordinates where, double epochSeconds)
{
    const double hourStart = std::floor(epochSeconds / 3600) * 3600;
    WeatherReport report;
    const InventedWeather now = inventWeather(where, hourStart);
    report.temperatureCelsius = now.temperatureCelsius;
    report.conditionCode = now.conditionCode;
    for (std::size_t i = 0; i < kForecastHours; ++i) {
        const double hour = hourStart + 3600.0 * static_cast<double>(i);
        const InventedWeather later = inventWeather(where, hour);
        report.hours.push_back({deviceClockText(hour), later.temperatureCelsius, later.conditionCode});
    }
    return report;
}

void OfflineWeatherService::fetchWeather(WeatherCoordinates where, WeatherCompletion completion)
{
    auto report = reportAt(where, foundation::now());
    foundation::performOnMainThread(
        [completion = std::move(completion), report = std::move(report)]() mutable { completion(std::move(report)); });
}

} // namespace weather
