#include "weather/weather_location.h"

#include <cstdio>

OBJC_REGISTER(WeatherLocation,
    c.method<&WeatherLocation::initWithLatitudeLongitude>("initWithLatitude:longitude:");
    c.method<&WeatherLocation::coordinate>("coordinate");)

objc::id WeatherLocation::initWithLatitudeLongitude(double latitude, double longitude)
{
    coordinate_ = {latitude, longitude};
    return self();
}

std::string WeatherLocation::description() const
{
    char text[64];
    std::snprintf(text, sizeof text, "<%+f,%+f>", coordinate_.latitude, coordinate_.longitude);
    return text;
}

bool WeatherLocation::isEqual(const objc::Object* other) const
{
    auto* location = dynamic_cast<const WeatherLocation*>(other);
    return location && location->coordinate_ == coordinate_;
}

std::size_t WeatherLocation::hash() const
{
    return std::hash<double>()(coordinate_.latitude) * 31 + std::hash<double>()(coordinate_.longitude);
}
