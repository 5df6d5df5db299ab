// WeatherPreferences: the weather store of one process — the unit setting and the dictionary
// form in which cities are written to property-list files and read back.
//
// Dictionary form of a City (keys absent for values the city does not have):
//   "Name"            string
//   "LocationID"      string
//   "Latitude"        real, degrees   } both or neither: the city's location
//   "Longitude"       real, degrees   }
//   "Temperature"     string, degrees Celsius as a number text ("21.5")
//   "ConditionCode"   integer, 0 to 47
//   "HourlyForecasts" array of dictionaries, earliest first:
//       "Time" string "HH:mm", "Detail" string, "ConditionCode" integer
//
// Reading tolerates what a damaged or foreign file may hold: a value of the wrong kind counts as
// absent (a number stands for the temperature text; a whole number also passes for a condition
// code), an entry of "HourlyForecasts" that is not a dictionary is left out, and a location
// outside the globe is no location. Reading never fails for a dictionary; anything else gives nil.
//
// Celsius or Fahrenheit is a setting of the simulated device: VANTOREL_WEATHER_CELSIUS "0"
// chooses Fahrenheit, anything else (or nothing) Celsius. It is read when the store is made,
// and setCelsius: changes it for the process.
#pragma once

#include "objc/objc.h"

#include <memory>

class City;
class NSDictionary;

class WeatherPreferences : public objc::Object {
    OBJC_CLASS(WeatherPreferences, objc::Object)
public:
    WeatherPreferences();

    // sharedPreferences (class method): the one store of the process.
    static std::shared_ptr<WeatherPreferences> sharedPreferences();

    // nil for nil and for anything that is not a City.
    std::shared_ptr<NSDictionary> preferencesDictionaryForCity(const objc::id& city) const;
    // nil for nil and for anything that is not a dictionary.
    std::shared_ptr<City> cityFromPreferencesDictionary(const objc::id& dictionary) const;

    bool isCelsius() const { return celsius_; }
    void setCelsius(bool celsius) { celsius_ = celsius; }

private:
    bool celsius_ = true;
};
