#include "location/location.h"

#include "foundation/clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

CLLocation::CLLocation(CLLocationCoordinate2D coordinate, CLLocationAccuracy accuracy, double timestamp)
    : coordinate_(coordinate), accuracy_(accuracy), timestamp_(timestamp)
{
}

std::shared_ptr<CLLocation> CLLocation::locationWithLatitudeLongitude(double latitude, double longitude)
{
    return std::make_shared<CLLocation>(CLLocationCoordinate2D{latitude, longitude}, 0.0, foundation::now());
}

CLLocationDistance distanceBetween(CLLocationCoordinate2D a, CLLocationCoordinate2D b)
{
    constexpr double earthRadius = 6371000.0;
    constexpr double radians = M_PI / 180.0;
    const double dLat = (b.latitude - a.latitude) * radians;
    const double dLon = (b.longitude - a.longitude) * radians;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(a.latitude * radians) * std::cos(b.latitude * radians) * std::sin(dLon / 2) *
                         std::sin(dLon / 2);
    return 2 * earthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

CLLocationDistance CLLocation::distanceFromLocation(const CLLocation& other) const
{
    return distanceBetween(coordinate_, other.coordinate_);
}

std::string CLLocation::description() const
{
    char text[96];
    std::snprintf(text, sizeof text, "<%+.8f,%+.8f> +/- %.2fm", coordinate_.latitude, coordinate_.longitude, accuracy_);
    return text;
}

OBJC_REGISTER(CLLocation,
    c.method<&CLLocation::coordinate>("coordinate");
    c.method<&CLLocation::horizontalAccuracy>("horizontalAccuracy");)
