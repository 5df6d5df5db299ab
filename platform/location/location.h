// CLLocation: a fix of the device's position (latitude and longitude in degrees) with its
// accuracy and time.
#pragma once

#include "objc/objc.h"

#include <memory>

struct CLLocationCoordinate2D {
    double latitude = 0;
    double longitude = 0;
    bool operator==(const CLLocationCoordinate2D&) const = default;
};

namespace objc {
OBJC_ENCODE(CLLocationCoordinate2D, "{CLLocationCoordinate2D=dd}");
}

using CLLocationDistance = double;     // metres
using CLLocationAccuracy = double;     // metres

class CLLocation : public objc::Object {
    OBJC_CLASS(CLLocation, objc::Object)
public:
    CLLocation() = default;
    CLLocation(CLLocationCoordinate2D coordinate, CLLocationAccuracy accuracy, double timestamp);
    static std::shared_ptr<CLLocation> locationWithLatitudeLongitude(double latitude, double longitude);

    // "coordinate": latitude then longitude.
    CLLocationCoordinate2D coordinate() const { return coordinate_; }
    CLLocationAccuracy horizontalAccuracy() const { return accuracy_; }
    // Seconds since the Unix epoch when the fix was taken.
    double timestamp() const { return timestamp_; }
    // Great-circle distance in metres.
    CLLocationDistance distanceFromLocation(const CLLocation& other) const;

    std::string description() const override;

private:
    CLLocationCoordinate2D coordinate_;
    CLLocationAccuracy accuracy_ = 0;
    double timestamp_ = 0;
};

// Great-circle distance in metres between two coordinates.
CLLocationDistance distanceBetween(CLLocationCoordinate2D a, CLLocationCoordinate2D b);
