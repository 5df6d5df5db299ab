#include "weather/city_updater.h"

#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "foundation/runloop.h"
#include "weather/city.h"
#include "weather/hourly_forecast.h"
#include "weather/plausible_weather.h"
#include "weather/temperature_text.h"
#include "weather/weather_preferences.h"
#include "weather/weather_service.h"

using objc::operator""_sel;

OBJC_REGISTER(TWCCityUpdater,
    c.method<&TWCCityUpdater::updateWeatherForCity>("updateWeatherForCity:");
    c.method<&TWCCityUpdater::updateWeatherForCities>("updateWeatherForCities:");
    c.method<&TWCCityUpdater::_updateNextPendingCity>("_updateNextPendingCity");
    c.method<&TWCCityUpdater::parsedResultCity>("parsedResultCity:");
    c.method<&TWCCityUpdater::failCity>("failCity:");
    c.method<&TWCCityUpdater::cleanUp>("cleanUp");
    c.method<&TWCCityUpdater::isUpdatingWeather>("isUpdatingWeather");)

namespace {

void fill(City& city, const weather::WeatherReport& report)
{
    const bool celsius = WeatherPreferences::sharedPreferences()->isCelsius();
    city.setTemperature(NSStr(weather::temperatureText(report.temperatureCelsius)));
    city.setConditionCode(report.conditionCode);
    std::vector<objc::id> hours;
    for (const weather::HourlyWeather& hour : report.hours) {
        auto forecast = std::make_shared<HourlyForecast>();
        forecast->setTime(NSStr(hour.time));
        forecast->setDetail(NSStr(weather::temperatureDetail(hour.temperatureCelsius, celsius)));
        forecast->setConditionCode(hour.conditionCode);
        hours.push_back(forecast);
    }
    city.setHourlyForecasts(NSArray::arrayWithObjects(std::move(hours)));
    if (report.locationID)
        city.setLocationID(NSStr(*report.locationID));
}

} // namespace

std::shared_ptr<weather::WeatherService> TWCCityUpdater::weatherService()
{
    if (!service_)
        service_ = weather::makeWeatherService(weather::WeatherServiceConfiguration::fromEnvironment());
    return service_;
}

void TWCCityUpdater::updateWeatherForCity(const std::shared_ptr<City>& city)
{
    if (!city)
        return;
    ++running_;
    std::weak_ptr<TWCCityUpdater> weakSelf = selfAs<TWCCityUpdater>();
    weather::WeatherCompletion completion = [weakSelf, city](std::optional<weather::WeatherReport> report) {
        if (report)
            report = weather::plausibleReport(std::move(*report));
        if (auto self = weakSelf.lock())
            self->finish(city, report ? &*report : nullptr);
    };
    const auto where = city->coordinates();
    if (!where) {
        foundation::performOnMainThread([completion = std::move(completion)] { completion(std::nullopt); });
        return;
    }
    weatherService()->fetchWeather(*where, std::move(completion));
}

void TWCCityUpdater::updateWeatherForCities(const std::shared_ptr<NSArray>& cities)
{
    if (cities) {
        for (const objc::id& entry : *cities)
            if (auto city = std::dynamic_pointer_cast<City>(entry))
                pending_.push_back(city);
    }
    objc::msgSend(self(), "_updateNextPendingCity"_sel);
}

void TWCCityUpdater::_updateNextPendingCity()
{
    if (queuedInFlight_)
        return;
    if (!pending_.empty()) {
        queuedInFlight_ = pending_.front();
        pending_.pop_front();
        objc::msgSend(self(), "updateWeatherForCity:"_sel, queuedInFlight_);
        return;
    }
    if (running_ == 0)
        objc::msgSend(self(), "cleanUp"_sel);
}

void TWCCityUpdater::cleanUp()
{
    pending_.clear();
    service_.reset();
}

void TWCCityUpdater::finish(const std::shared_ptr<City>& city, const weather::WeatherReport* report)
{
    --running_;
    if (queuedInFlight_ == city)
        queuedInFlight_.reset();
    const objc::id self = this->self();
    if (report) {
        fill(*city, *report);
        objc::msgSend(self, "parsedResultCity:"_sel, city);
    } else {
        objc::msgSend(self, "failCity:"_sel, city);
    }
    objc::msgSend(self, "_updateNextPendingCity"_sel);
}
