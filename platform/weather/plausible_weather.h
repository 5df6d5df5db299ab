// What weather can be: a service that answers well-formed nonsense (a temperature of 1e308, an
// hour "99:99") must not have it written as the weather. The city updater holds every report to
// these rules, whichever service made it.
#pragma once

#include "weather/weather_report.h"

#include <optional>
#include <string_view>

namespace weather {

// Air temperatures any place on the planet could have, in degrees Celsius.
inline constexpr double kLowestPlausibleCelsius = -100;
inline constexpr double kHighestPlausibleCelsius = 70;

// Finite and within the range above.
bool isPlausibleTemperature(double celsius);
// A time on the 24-hour clock written "HH:mm", 00:00 to 23:59.
bool isClockTime(std::string_view text);

// The report with every hour whose time, temperature or condition is not plausible left out;
// nothing when the current temperature or condition is not plausible or no hour is left. A
// locationID that is not plain text (control characters, broken UTF-8) is left out too.
std::optional<WeatherReport> plausibleReport(WeatherReport report);

} // namespace weather
