#include "weather/plausible_weather.h"

#include "foundation/property_list_text.h"

#include <algorithm>
#include <cmath>

namespace weather {

namespace {

// The condition codes a city may carry.
bool isConditionCode(long code) { return code >= 0 && code <= 47; }

bool twoDigits(std::string_view text, int highest)
{
    if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9')
        return false;
    return (text[0] - '0') * 10 + (text[1] - '0') <= highest;
}

} // namespace

bool isPlausibleTemperature(double celsius)
{
    return std::isfinite(celsius) && celsius >= kLowestPlausibleCelsius && celsius <= kHighestPlausibleCelsius;
}

bool isClockTime(std::string_view text)
{
    return text.size() == 5 && text[2] == ':' && twoDigits(text.substr(0, 2), 23) && twoDigits(text.substr(3), 59);
}

std::optional<WeatherReport> plausibleReport(WeatherReport report)
{
    if (!isPlausibleTemperature(report.temperatureCelsius) || !isConditionCode(report.conditionCode))
        return std::nullopt;
    std::erase_if(report.hours, [](const HourlyWeather& hour) {
        return !isClockTime(hour.time) || !isPlausibleTemperature(hour.temperatureCelsius) ||
               !isConditionCode(hour.conditionCode);
    });
    if (report.hours.empty())
        return std::nullopt;
    // An identifier the city file could not hold is as good as none.
    if (report.locationID && (!foundation::detail::isPropertyListText(*report.locationID) ||
                              std::any_of(report.locationID->begin(), report.locationID->end(),
                                          [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })))
        report.locationID.reset();
    return report;
}

} // namespace weather
