#include "daemon/weather_updater.h"

#include "daemon/weather_updater_delegate.h"
#include "foundation/log.h"
#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "location/geocoder.h"
#include "location/location_manager.h"
#include "weather/city.h"

#include <cstdio>

objc::id VTWeatherUpdater::init()
{
    objc::id self = TWCCityUpdater::init();
    if (self)
        setLocationManager(std::make_shared<CLLocationManager>());
    return self;
}

void VTWeatherUpdater::update()
{
    _locationManager->setDelegate(self());
    _locationManager->setDistanceFilter(3000.0);
    _locationManager->setDesiredAccuracy(kCLLocationAccuracyThreeKilometers);
    objc::msgSend(_locationManager, "startUpdatingLocation"_sel);
}

void VTWeatherUpdater::locationManagerDidUpdateLocations(const objc::id&, const std::shared_ptr<NSArray>& locations)
{
    updateWeatherForLocation(locations ? locations->objectAtIndex(0) : nullptr);

    auto geocoder = std::make_shared<CLGeocoder>();
    auto weakSelf = std::weak_ptr<VTWeatherUpdater>(selfAs<VTWeatherUpdater>());
    geocoder->reverseGeocodeLocationCompletionHandler(
        _locationManager->location(), [weakSelf](std::shared_ptr<NSArray> placemarks, objc::id error) {
            auto self = weakSelf.lock();
            if (!self)
                return;
            if (error) {
                NSLog("Geocode failed with error: %@", error);
                return;
            }
            auto placemark = std::dynamic_pointer_cast<CLPlacemark>(placemarks ? placemarks->objectAtIndex(0) : nullptr);
            self->cityName = placemark ? NSStr(placemark->locality()) : nullptr;
        });

    objc::msgSend(_locationManager, "stopUpdatingLocation"_sel);
}

void VTWeatherUpdater::updateWeatherForLocation(const objc::id& location)
{
    if (!location)
        return;
    auto city = std::make_shared<City>();
    city->setLocation(location);
    requestNumbers_[city.get()] = ++lastRequest_;
    objc::msgSend(this, "updateWeatherForCity:"_sel, city);
}

std::uint64_t VTWeatherUpdater::takeRequestNumber(const City* city)
{
    const auto known = requestNumbers_.find(city);
    if (known == requestNumbers_.end())
        return lastRequest_;
    const std::uint64_t number = known->second;
    requestNumbers_.erase(known);
    return number;
}

void VTWeatherUpdater::parsedResultCity(const std::shared_ptr<City>& city)
{
    if (!city)
        return;
    const std::uint64_t request = takeRequestNumber(city.get());
    if (request < newestHandedOn_)
        return;
    newestHandedOn_ = request;
    const objc::id delegate = _delegate.lock();
    if (!objc::respondsToSelector(delegate.get(), weatherupdater::didUpdateCitySelector()))
        return;
    if (!city->locationID()) {
        const auto where = city->coordinates().value_or(weather::WeatherCoordinates{});
        char identifier[64];
        std::snprintf(identifier, sizeof identifier, "%f,%f", where.latitude, where.longitude);
        city->setLocationID(NSStr(identifier));
    }
    city->setName(cityName);
    objc::msgSend(delegate, weatherupdater::didUpdateCitySelector(), self(), city, city->location());
}

void VTWeatherUpdater::failCity(const std::shared_ptr<City>& city)
{
    takeRequestNumber(city.get());
    objc::msgSendIfResponds(_delegate.lock(), weatherupdater::failedToUpdateCitySelector(), self(),
                            std::static_pointer_cast<objc::Object>(city), city ? city->location() : nullptr);
}

OBJC_REGISTER(VTWeatherUpdater,
    c.method<&VTWeatherUpdater::update>("update");
    c.method<&VTWeatherUpdater::locationManagerDidUpdateLocations>("locationManager:didUpdateLocations:");
    c.method<&VTWeatherUpdater::updateWeatherForLocation>("updateWeatherForLocation:");
    c.method<&VTWeatherUpdater::_updateNextPendingCity>("_updateNextPendingCity");
    c.method<&VTWeatherUpdater::cleanUp>("cleanUp");
    c.method<&VTWeatherUpdater::parsedResultCity>("parsedResultCity:");
    c.method<&VTWeatherUpdater::failCity>("failCity:");
    c.method<&VTWeatherUpdater::locationManager>("locationManager");
    c.method<&VTWeatherUpdater::setLocationManager>("setLocationManager:");
    c.method<&VTWeatherUpdater::delegate>("delegate");
    c.method<&VTWeatherUpdater::setDelegate>("setDelegate:");)
