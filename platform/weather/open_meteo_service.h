// OpenMeteoWeatherService: the real weather, from Open-Meteo's forecast API over HTTP. Each
// request runs on its own worker thread and hands its result back to the main run loop; no
// answer within the timeout, an HTTP status other than 200, or a body that is not a complete
// forecast (see open_meteo_parser.h) all end in no report. Open-Meteo has no place
// identifiers, so its reports carry no locationID.
#pragma once

#include "weather/weather_service.h"

#include <chrono>
#include <string>

namespace weather {

class OpenMeteoWeatherService final : public WeatherService {
public:
    OpenMeteoWeatherService(std::string baseURL, std::chrono::milliseconds timeout);

    std::string name() const override { return "OpenMeteoWeatherService"; }
    void fetchWeather(WeatherCoordinates where, WeatherCompletion completion) override;

    // The request for a place: the current temperature, weather code and daylight, and the
    // coming hours, in the place's own time zone.
    std::string forecastURL(WeatherCoordinates where) const;

private:
    std::string baseURL_;
    std::chrono::milliseconds timeout_;
};

} // namespace weather
