// CLLocationManager: delivers fixes of the device's position to its delegate on the main run
// loop while it is updating. The first fix of each session of updates is delivered a short
// while after startUpdatingLocation (the device's fix latency); later ones whenever the device
// moves farther than the distance filter from the last delivered fix. With location services
// off nothing is delivered.
//
// Delegate messages (optional, asked with respondsToSelector:): "locationManager:didUpdateLocations:"
// with the manager and an NSArray holding the new CLLocation; "locationManager:didFailWithError:"
// when services are off.
#pragma once

#include "location/location.h"

#include <memory>

inline constexpr double kCLDistanceFilterNone = -1;
inline constexpr double kCLLocationAccuracyBest = -1;
inline constexpr double kCLLocationAccuracyNearestTenMeters = 10;
inline constexpr double kCLLocationAccuracyHundredMeters = 100;
inline constexpr double kCLLocationAccuracyKilometer = 1000;
inline constexpr double kCLLocationAccuracyThreeKilometers = 3000;

class CLLocationManager : public objc::Object {
    OBJC_CLASS(CLLocationManager, objc::Object)
public:
    CLLocationManager() = default;
    ~CLLocationManager() override;

    objc::id delegate() const { return delegate_.lock(); }
    void setDelegate(const objc::id& delegate) { delegate_ = delegate; }
    double distanceFilter() const { return distanceFilter_; }
    void setDistanceFilter(double metres) { distanceFilter_ = metres; }
    double desiredAccuracy() const { return desiredAccuracy_; }
    void setDesiredAccuracy(double metres) { desiredAccuracy_ = metres; }

    void startUpdatingLocation();
    void stopUpdatingLocation();
    bool isUpdatingLocation() const { return updating_; }
    // The most recent fix this manager delivered; nil before the first.
    const std::shared_ptr<CLLocation>& location() const { return location_; }

    static bool locationServicesEnabled();
    // Called when the simulated device moves.
    static void deviceMoved();

    // Runs when a scheduled fix falls due (registered as "_deliverFix").
    void deliverFix();

private:
    void scheduleFix();

    std::weak_ptr<objc::Object> delegate_;
    double distanceFilter_ = kCLDistanceFilterNone;
    double desiredAccuracy_ = kCLLocationAccuracyBest;
    bool updating_ = false;
    bool fixScheduled_ = false;
    bool deliveredThisSession_ = false;
    std::shared_ptr<CLLocation> location_;
};
