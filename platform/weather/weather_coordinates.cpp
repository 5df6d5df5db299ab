#include "weather/weather_coordinates.h"

#include <cmath>

namespace weather {

bool areValidCoordinates(WeatherCoordinates where)
{
    return std::isfinite(where.latitude) && std::isfinite(where.longitude) && std::fabs(where.latitude) <= 90 &&
           std::fabs(where.longitude) <= 180;
}

std::optional<WeatherCoordinates> coordinatesOfLocation(const objc::Object* location)
{
    using namespace objc;
    if (!location)
        return std::nullopt;
    // Checked here rather than left to msgSend, which would stop the process on a location
    // object of another shape: a wrong location must fail the city, not the device.
    Method method = class_getInstanceMethod(location->isa(), "coordinate"_sel);
    if (!method || method_getTypeEncoding(method) != methodEncoding<WeatherCoordinates>())
        return std::nullopt;
    // The method is found and its encoding checked: call it as the runtime would.
    using Getter = WeatherCoordinates (*)(Object*, SEL);
    const auto where = reinterpret_cast<Getter>(method_getImplementation(method))(const_cast<Object*>(location),
                                                                                "coordinate"_sel);
    if (!areValidCoordinates(where))
        return std::nullopt;
    return where;
}

} // namespace weather
