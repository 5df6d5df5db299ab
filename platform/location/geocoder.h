// CLGeocoder: turns a location into placemarks, answered from the platform's table of world
// cities: the nearest city within 50 km, else an error (kCLErrorDomain, code 8: no result).
// The answer arrives on the main run loop after the device's geocoding latency.
#pragma once

#include "location/location.h"

#include <functional>
#include <memory>
#include <string>

class NSArray;

// A place: its locality (the city's name) and country.
class CLPlacemark : public objc::Object {
    OBJC_CLASS(CLPlacemark, objc::Object)
public:
    CLPlacemark() = default;
    CLPlacemark(std::string locality, std::string country, std::shared_ptr<CLLocation> location);
    const std::string& locality() const { return locality_; }
    const std::string& country() const { return country_; }
    const std::shared_ptr<CLLocation>& location() const { return location_; }
    std::string description() const override { return locality_ + ", " + country_; }

private:
    std::string locality_;
    std::string country_;
    std::shared_ptr<CLLocation> location_;
};

using CLGeocodeCompletionHandler = std::function<void(std::shared_ptr<NSArray> placemarks, objc::id error)>;

class CLGeocoder : public objc::Object {
    OBJC_CLASS(CLGeocoder, objc::Object)
public:
    // A nil location answers with an error too. The geocoder keeps itself alive until it has
    // answered.
    void reverseGeocodeLocationCompletionHandler(const std::shared_ptr<CLLocation>& location,
                                                 CLGeocodeCompletionHandler completion);
    bool isGeocoding() const { return geocoding_; }

private:
    bool geocoding_ = false;
};

inline constexpr long kCLErrorGeocodeFoundNoResult = 8;
