// Where to ask for weather: latitude and longitude in degrees, read from a location object.
//
// A location object is any runtime object that answers "coordinate" with the platform's
// coordinate pair (encoding "{CLLocationCoordinate2D=dd}@:", latitude then longitude, both
// double), as the location framework's CLLocation does. WeatherCoordinates travels through a
// message under that encoding, so msgSend<WeatherCoordinates>(location, "coordinate"_sel)
// reads any such object without this library depending on the location framework.
#pragma once

#include "objc/objc.h"

#include <optional>

namespace weather {

struct WeatherCoordinates {
    double latitude = 0;
    double longitude = 0;
    bool operator==(const WeatherCoordinates&) const = default;
};

inline constexpr const char* kCoordinateEncoding = "{CLLocationCoordinate2D=dd}";

// The coordinates of a location object; nothing for nil, for an object that does not answer
// "coordinate" with that encoding, and for coordinates that are not finite or out of range
// (latitude beyond ±90, longitude beyond ±180).
std::optional<WeatherCoordinates> coordinatesOfLocation(const objc::Object* location);
inline std::optional<WeatherCoordinates> coordinatesOfLocation(const objc::id& location)
{
    return coordinatesOfLocation(location.get());
}

bool areValidCoordinates(WeatherCoordinates where);

} // namespace weather

namespace objc {
template <>
struct Encode<weather::WeatherCoordinates> {
    static std::string value() { return weather::kCoordinateEncoding; }
};
} // namespace objc
