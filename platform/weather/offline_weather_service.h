// OfflineWeatherService: weather for a device without network. It asks nobody: it invents
// plausible weather for the place, the season and the hour (offline_weather_model.h), the same
// every time for the same place and hour. Hours are written in the device's time zone. Its
// reports carry no locationID. The answer still arrives later, on the main run loop, like a
// real service's.
#pragma once

#include "weather/weather_service.h"

namespace weather {

class OfflineWeatherService final : public WeatherService {
public:
    std::string name() const override { return "OfflineWeatherService"; }
    void fetchWeather(WeatherCoordinates where, WeatherCompletion completion) override;

    // The report for the place at an instant (seconds since the Unix epoch): the weather of the
    // hour containing it and of the hours after.
    static WeatherReport reportAt(WeatherCoordinates where, double epochSeconds);
};

} // namespace weather
