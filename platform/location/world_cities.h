// The platform's table of world cities for reverse geocoding.
#pragma once

#include "location/location.h"

#include <optional>
#include <span>

namespace location {

struct WorldCity {
    const char* name;
    const char* country;
    CLLocationCoordinate2D coordinate;
};

std::span<const WorldCity> worldCities();
// The city nearest to the coordinate when it lies within the distance (metres).
std::optional<WorldCity> nearestCity(CLLocationCoordinate2D where, CLLocationDistance within);

} // namespace location
