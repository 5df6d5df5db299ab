// Any bytes as the weather service's answer. A report that comes back holds only weather that
// can be: a plausible current temperature, at most the hours asked for, each on the clock with
// a plausible temperature and a condition code.
#include "weather/open_meteo_parser.h"
#include "weather/plausible_weather.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const auto report = weather::parseOpenMeteoForecast(body, 12);
    if (!report)
        return 0;
    bool sound = weather::isPlausibleTemperature(report->temperatureCelsius) && !report->hours.empty() &&
                 report->hours.size() <= 12 && report->conditionCode >= 0 && report->conditionCode <= 47;
    for (const weather::HourlyWeather& hour : report->hours)
        sound = sound && weather::isClockTime(hour.time) && weather::isPlausibleTemperature(hour.temperatureCelsius) &&
                hour.conditionCode >= 0 && hour.conditionCode <= 47;
    if (!sound) {
        std::fprintf(stderr, "open_meteo_fuzzer: a report with weather that cannot be\n");
        std::abort();
    }
    return 0;
}
