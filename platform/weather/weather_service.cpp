#include "weather/weather_service.h"

#include "weather/offline_weather_service.h"
#include "weather/open_meteo_service.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

namespace weather {

namespace {

std::optional<std::string> environment(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

} // namespace

WeatherServiceConfiguration WeatherServiceConfiguration::fromEnvironment()
{
    WeatherServiceConfiguration configuration;
    if (environment("VANTOREL_WEATHER_SERVICE") == "open-meteo")
        configuration.kind = Kind::OpenMeteo;
    if (auto base = environment("VANTOREL_WEATHER_BASE_URL"))
        configuration.baseURL = *base;
    if (auto timeout = environment("VANTOREL_WEATHER_TIMEOUT")) {
        char* end = nullptr;
        const double seconds = std::strtod(timeout->c_str(), &end);
        if (end && *end == '\0' && std::isfinite(seconds) && seconds > 0 && seconds <= 3600)
            configuration.timeout = std::chrono::milliseconds(std::lround(seconds * 1000));
    }
    return configuration;
}

std::shared_ptr<WeatherService> makeWeatherService(const WeatherServiceConfiguration& configuration)
{
    if (configuration.kind == WeatherServiceConfiguration::Kind::OpenMeteo)
        return std::make_shared<OpenMeteoWeatherService>(configuration.baseURL, configuration.timeout);
    return std::make_shared<OfflineWeatherService>();
}

} // namespace weather
