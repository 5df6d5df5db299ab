// The weather service behind TWCCityUpdater, chosen by the simulated device's configuration:
//
//   VANTOREL_WEATHER_SERVICE   "offline" (the default, and what any unknown value means) for
//                              OfflineWeatherService, which invents the weather on the device;
//                              "open-meteo" for OpenMeteoWeatherService, over HTTP.
//   VANTOREL_WEATHER_BASE_URL  where Open-Meteo's forecast API lives
//                              (default "https://api.open-meteo.com").
//   VANTOREL_WEATHER_TIMEOUT   seconds an Open-Meteo request may take in all, connection
//                              included (default 10; decimals allowed; values that are not a
//                              positive number give the default).
//
// Processes started by the simulated device inherit these variables like the device root.
#pragma once

#include "weather/weather_coordinates.h"
#include "weather/weather_report.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace weather {

// How many hours of forecast a report carries, starting with the current one.
inline constexpr std::size_t kForecastHours = 12;

// Receives the report, or nothing when the weather could not be had.
using WeatherCompletion = std::function<void(std::optional<WeatherReport>)>;

class WeatherService {
public:
    virtual ~WeatherService() = default;
    // The service's name as it appears in descriptions ("OfflineWeatherService").
    virtual std::string name() const = 0;
    // Starts fetching the weather at the place. The completion runs exactly once, on the main
    // run loop, on a later pass than this call.
    virtual void fetchWeather(WeatherCoordinates where, WeatherCompletion completion) = 0;
};

struct WeatherServiceConfiguration {
    enum class Kind { Offline, OpenMeteo };
    Kind kind = Kind::Offline;
    std::string baseURL = "https://api.open-meteo.com";
    std::chrono::milliseconds timeout{10000};

    // The device's configuration as it stands in the environment now.
    static WeatherServiceConfiguration fromEnvironment();
};

std::shared_ptr<WeatherService> makeWeatherService(const WeatherServiceConfiguration& configuration);

} // namespace weather
