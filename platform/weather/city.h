// City: one place and its weather, as the weather framework keeps it — where it is, the
// service's identifier for it, its name, and the current and coming weather. A new city has
// none of these until someone sets its location and a city updater fills the weather in.
#pragma once

#include "objc/objc.h"
#include "weather/weather_coordinates.h"

#include <memory>
#include <optional>

class NSArray;
class NSString;

class City : public objc::Object {
    OBJC_CLASS(City, objc::Object)
public:
    City() = default;

    // Any location object (see weather_coordinates.h); the city keeps the object it was given.
    const objc::id& location() const { return location_; }
    void setLocation(const objc::id& location) { location_ = location; }
    // The coordinates of the location, when it has usable ones.
    std::optional<weather::WeatherCoordinates> coordinates() const { return weather::coordinatesOfLocation(location_); }

    // The weather service's identifier of the place; nil until one is set.
    std::shared_ptr<NSString> locationID() const { return locationID_; }
    void setLocationID(const std::shared_ptr<NSString>& identifier) { locationID_ = identifier; }
    std::shared_ptr<NSString> name() const { return name_; }
    void setName(const std::shared_ptr<NSString>& name) { name_ = name; }

    // Degrees Celsius as a number text ("21.5"): it reads as text and as a number (floatValue).
    // nil until the weather is known.
    std::shared_ptr<NSString> temperature() const { return temperature_; }
    void setTemperature(const std::shared_ptr<NSString>& temperature) { temperature_ = temperature; }
    // The current condition, 0 to 47 (0 until the weather is known).
    long conditionCode() const { return conditionCode_; }
    void setConditionCode(long code) { conditionCode_ = code; }
    // HourlyForecast objects, earliest first; nil until the weather is known.
    std::shared_ptr<NSArray> hourlyForecasts() const { return hourlyForecasts_; }
    void setHourlyForecasts(const std::shared_ptr<NSArray>& forecasts) { hourlyForecasts_ = forecasts; }

    std::string description() const override;

private:
    objc::id location_;
    std::shared_ptr<NSString> locationID_;
    std::shared_ptr<NSString> name_;
    std::shared_ptr<NSString> temperature_;
    long conditionCode_ = 0;
    std::shared_ptr<NSArray> hourlyForecasts_;
};
