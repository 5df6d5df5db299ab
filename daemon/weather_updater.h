// VTWeatherUpdater: locates the device, has the weather framework fetch the weather there, and
// hands each filled (or failed) city to its delegate. One per daemon process.
//
// Each update asks for one fix; the weather request for a fix starts at once and races the
// reverse geocoding of the same fix, so a city is named after whatever place the last finished
// geocoding found. Requests may overlap (a slow answer can outlast the next tick): an answer to
// a request older than one already handed to the delegate is dropped, so older weather never
// replaces newer.
#pragma once

#include "weather/city_updater.h"

#include <cstdint>
#include <memory>
#include <unordered_map>

class CLLocationManager;
class NSArray;
class NSString;

class VTWeatherUpdater : public TWCCityUpdater {
    OBJC_CLASS(VTWeatherUpdater, TWCCityUpdater)
public:
    VTWeatherUpdater() = default;

    // Runtime "init": the platform updater, then a location manager.
    objc::id init() override;

    // One location request.
    void update();
    // "locationManager:didUpdateLocations:": the weather request and the geocoding for the fix.
    void locationManagerDidUpdateLocations(const objc::id& manager, const std::shared_ptr<NSArray>& locations);
    // A new city at the location, handed to the platform updater at once (no queue).
    void updateWeatherForLocation(const objc::id& location);

    // The updater keeps no queue of waiting cities and nothing to clean up.
    void _updateNextPendingCity() override {}
    void cleanUp() override {}
    void parsedResultCity(const std::shared_ptr<City>& city) override;
    void failCity(const std::shared_ptr<City>& city) override;

    const std::shared_ptr<CLLocationManager>& locationManager() const { return _locationManager; }
    void setLocationManager(const std::shared_ptr<CLLocationManager>& manager) { _locationManager = manager; }
    objc::id delegate() const { return _delegate.lock(); }
    void setDelegate(const objc::id& delegate) { _delegate = delegate; }

    // The place name of the most recent successful reverse geocoding; nil until then.
    std::shared_ptr<NSString> cityName;

private:
    // The number of the request a city was sent with (cities sent by others count as the
    // latest), forgotten with the answer.
    std::uint64_t takeRequestNumber(const City* city);

    std::shared_ptr<CLLocationManager> _locationManager;
    std::weak_ptr<objc::Object> _delegate;
    std::unordered_map<const City*, std::uint64_t> requestNumbers_;
    std::uint64_t lastRequest_ = 0;
    std::uint64_t newestHandedOn_ = 0;
};
