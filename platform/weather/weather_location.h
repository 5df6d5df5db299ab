// WeatherLocation: the location a city read back from its dictionary form carries. It answers
// "coordinate" like the location framework's CLLocation does, so whoever reads a city's
// location cannot tell them apart, and the weather framework does not depend on that framework.
#pragma once

#include "weather/weather_coordinates.h"

#include <memory>

class WeatherLocation : public objc::Object {
    OBJC_CLASS(WeatherLocation, objc::Object)
public:
    WeatherLocation() = default;
    explicit WeatherLocation(weather::WeatherCoordinates where) : coordinate_(where) {}

    // initWithLatitude:longitude:
    objc::id initWithLatitudeLongitude(double latitude, double longitude);
    weather::WeatherCoordinates coordinate() const { return coordinate_; }

    // "<+48.500000,+9.250000>", the way a location describes itself.
    std::string description() const override;
    bool isEqual(const objc::Object* other) const override;
    std::size_t hash() const override;

private:
    weather::WeatherCoordinates coordinate_;
};

namespace weather {

// A location object for the coordinates.
inline objc::id makeLocation(WeatherCoordinates where) { return std::make_shared<WeatherLocation>(where); }

} // namespace weather
