// Reads an answer of Open-Meteo's forecast API into a WeatherReport.
#pragma once

#include "weather/weather_report.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace weather {

// The fields the request asks for and the parser needs.
inline constexpr std::string_view kOpenMeteoCurrentFields = "temperature_2m,weather_code,is_day";
inline constexpr std::string_view kOpenMeteoHourlyFields = "temperature_2m,weather_code,is_day";

// Nothing when the body is not JSON, is Open-Meteo's error answer, or lacks what a report needs:
// "current" with time, a plausible temperature_2m and weather_code, and "hourly" with time,
// temperature_2m and weather_code lists of one length holding at least one hour from the
// current one on. Hours before the current hour are skipped, at most maxHours are kept, and an
// hour whose values are null, whose time is not a real "YYYY-MM-DDTHH:mm" or whose temperature
// is not plausible (plausible_weather.h) is left out. is_day is optional (day when absent). A
// weather code outside the WMO table makes the answer malformed.
std::optional<WeatherReport> parseOpenMeteoForecast(std::string_view body, std::size_t maxHours);

} // namespace weather
