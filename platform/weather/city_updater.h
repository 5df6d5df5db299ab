// TWCCityUpdater: fetches the weather of cities from the device's weather service
// (weather_service.h) and fills them in.
//
// updateWeatherForCity: starts a request at once (requests may overlap); the answer comes back
// later, always on the main run loop and never inside the call, as the runtime message
// "parsedResultCity:" with the filled city, or "failCity:" with the city untouched. After each
// answer the updater sends itself "_updateNextPendingCity", which starts the next city queued by
// updateWeatherForCities: and, once nothing is queued or running any more, sends "cleanUp".
// cleanUp forgets the queue and lets go of the weather service, so the next round picks up the
// device's configuration afresh.
//
// Subclasses override the C++ virtuals (each is registered as the runtime method of its
// selector); every message the updater sends to itself goes through the runtime, so an override
// or a hook installed by name is what runs. The base parsedResultCity: and failCity: do nothing:
// they are where a subclass learns the outcome.
//
// A filled city has temperature, conditionCode and hourlyForecasts from the service; its
// locationID is set only when the service has an identifier for the place (neither the offline
// service nor Open-Meteo has one), so a city keeps the locationID it had. Hourly details are
// written in the unit WeatherPreferences isCelsius chooses when the answer arrives. Every report
// is held to plausible_weather.h first: an impossible current temperature fails the city, and
// impossible hours are left out.
//
// A city without a location with usable coordinates fails (asynchronously, like any failure).
// An answer that arrives after the updater is gone is dropped.
#pragma once

#include "objc/objc.h"

#include <deque>
#include <memory>

class City;
class NSArray;

namespace weather {
class WeatherService;
struct WeatherReport;
}

class TWCCityUpdater : public objc::Object {
    OBJC_CLASS(TWCCityUpdater, objc::Object)
public:
    TWCCityUpdater() = default;

    // updateWeatherForCity:. A nil city asks for nothing.
    virtual void updateWeatherForCity(const std::shared_ptr<City>& city);
    // updateWeatherForCities:: queues the cities (other objects in the list are skipped) and
    // fetches them one after another.
    virtual void updateWeatherForCities(const std::shared_ptr<NSArray>& cities);
    virtual void _updateNextPendingCity();
    virtual void parsedResultCity(const std::shared_ptr<City>& city) {}
    virtual void failCity(const std::shared_ptr<City>& city) {}
    virtual void cleanUp();

    // isUpdatingWeather: true while a request is running.
    bool isUpdatingWeather() const { return running_ > 0; }
    // The service the next request goes to, chosen from the device's configuration on first use.
    std::shared_ptr<weather::WeatherService> weatherService();

private:
    void finish(const std::shared_ptr<City>& city, const weather::WeatherReport* report);

    std::shared_ptr<weather::WeatherService> service_;
    std::deque<std::shared_ptr<City>> pending_;
    std::shared_ptr<City> queuedInFlight_; // the queued city being fetched, if any
    int running_ = 0;
};
