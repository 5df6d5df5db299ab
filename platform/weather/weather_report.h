// What a weather service answers for one place, before it is put into a City.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace weather {

struct HourlyWeather {
    std::string time;              // "HH:mm", 24-hour clock, the place's local time
    double temperatureCelsius = 0;
    long conditionCode = 0;        // 0 to 47
};

struct WeatherReport {
    double temperatureCelsius = 0;
    long conditionCode = 0;                // 0 to 47
    std::vector<HourlyWeather> hours;      // earliest first, starting with the current hour
    std::optional<std::string> locationID; // the service's own place identifier, when it has one
};

} // namespace weather
