// The invented weather behind OfflineWeatherService: a plausible temperature and condition for
// a place and an hour, computed from nothing but the coordinates and the date, so that a device
// without network still shows weather that suits its latitude, season and time of day.
//
// Temperature: a yearly mean that falls with latitude, a seasonal wave (warmest in late July in
// the north, late January in the south, stronger far from the equator), a daily wave peaking at
// 15:00 solar time, and a day-to-day wobble of up to ±3 °C that drifts smoothly across midnight.
// Condition: a cloudiness drawn from a hash of the place (a 0.1° cell) with the day and the
// six-hour block, turned into clear, fair, cloudy, fog, drizzle, rain, showers or thunder; rain
// becomes snow at or below 0 °C and sleet-like mixed rain and snow just above; clear, fair and
// partly cloudy skies take their night forms while the sun is below the horizon.
//
// The same place and the same hour always give the same weather.
#pragma once

#include "weather/weather_coordinates.h"

namespace weather {

struct InventedWeather {
    double temperatureCelsius = 0; // rounded to tenths
    long conditionCode = 0;        // 0 to 47
    bool daylight = true;
};

// The weather of the UTC hour that contains the instant (seconds since the Unix epoch).
InventedWeather inventWeather(WeatherCoordinates where, double epochSeconds);

} // namespace weather
