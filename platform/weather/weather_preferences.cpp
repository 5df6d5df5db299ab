#include "weather/weather_preferences.h"

#include "foundation/ns_array.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_number.h"
#include "foundation/ns_string.h"
#include "weather/city.h"
#include "weather/hourly_forecast.h"
#include "weather/weather_location.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>

OBJC_REGISTER(WeatherPreferences,
    c.classMethod<&WeatherPreferences::sharedPreferences>("sharedPreferences");
    c.method<&WeatherPreferences::preferencesDictionaryForCity>("preferencesDictionaryForCity:");
    c.method<&WeatherPreferences::cityFromPreferencesDictionary>("cityFromPreferencesDictionary:");
    c.method<&WeatherPreferences::isCelsius>("isCelsius");
    c.method<&WeatherPreferences::setCelsius>("setCelsius:");)

namespace {

constexpr std::string_view kName = "Name";
constexpr std::string_view kLocationID = "LocationID";
constexpr std::string_view kLatitude = "Latitude";
constexpr std::string_view kLongitude = "Longitude";
constexpr std::string_view kTemperature = "Temperature";
constexpr std::string_view kConditionCode = "ConditionCode";
constexpr std::string_view kHourlyForecasts = "HourlyForecasts";
constexpr std::string_view kTime = "Time";
constexpr std::string_view kDetail = "Detail";

std::shared_ptr<NSString> textAt(const NSDictionary& dictionary, std::string_view key)
{
    return std::dynamic_pointer_cast<NSString>(dictionary.objectForKey(key));
}

std::shared_ptr<NSNumber> numberAt(const NSDictionary& dictionary, std::string_view key)
{
    auto number = std::dynamic_pointer_cast<NSNumber>(dictionary.objectForKey(key));
    return number && !number->isBool() ? number : nullptr;
}

std::optional<double> realAt(const NSDictionary& dictionary, std::string_view key)
{
    auto number = numberAt(dictionary, key);
    if (!number || !std::isfinite(number->doubleValue()))
        return std::nullopt;
    return number->doubleValue();
}

std::optional<long> codeAt(const NSDictionary& dictionary, std::string_view key)
{
    auto number = numberAt(dictionary, key);
    if (!number)
        return std::nullopt;
    if (number->isInteger())
        return number->longValue();
    const double value = number->doubleValue();
    if (value == std::floor(value) && std::fabs(value) < 1e9)
        return static_cast<long>(value);
    return std::nullopt;
}

std::shared_ptr<NSString> temperatureAt(const NSDictionary& dictionary)
{
    if (auto text = textAt(dictionary, kTemperature))
        return text;
    if (auto number = numberAt(dictionary, kTemperature); number && std::isfinite(number->doubleValue()))
        return number->stringValue();
    return nullptr;
}

void put(NSMutableDictionary& dictionary, std::string_view key, const objc::id& value)
{
    if (value)
        dictionary.setObjectForKey(value, std::string(key));
}

std::shared_ptr<NSDictionary> forecastDictionary(const HourlyForecast& forecast)
{
    auto dictionary = NSMutableDictionary::dictionary();
    put(*dictionary, kTime, forecast.time());
    put(*dictionary, kDetail, forecast.detail());
    put(*dictionary, kConditionCode, NSNumber::numberWithLong(forecast.conditionCode()));
    return dictionary;
}

std::shared_ptr<HourlyForecast> forecastFromDictionary(const NSDictionary& dictionary)
{
    auto forecast = std::make_shared<HourlyForecast>();
    forecast->setTime(textAt(dictionary, kTime));
    forecast->setDetail(textAt(dictionary, kDetail));
    forecast->setConditionCode(codeAt(dictionary, kConditionCode).value_or(0));
    return forecast;
}

bool celsiusFromEnvironment()
{
    const char* setting = std::getenv("VANTOREL_WEATHER_CELSIUS");
    return !(setting && std::string_view(setting) == "0");
}

} // namespace

WeatherPreferences::WeatherPreferences() : celsius_(celsiusFromEnvironment()) {}

std::shared_ptr<WeatherPreferences> WeatherPreferences::sharedPreferences()
{
    static const auto shared = std::make_shared<WeatherPreferences>();
    return shared;
}

std::shared_ptr<NSDictionary> WeatherPreferences::preferencesDictionaryForCity(const objc::id& object) const
{
    auto city = std::dynamic_pointer_cast<City>(object);
    if (!city)
        return nullptr;
    auto dictionary = NSMutableDictionary::dictionary();
    put(*dictionary, kName, city->name());
    put(*dictionary, kLocationID, city->locationID());
    if (auto where = city->coordinates()) {
        put(*dictionary, kLatitude, NSNumber::numberWithDouble(where->latitude));
        put(*dictionary, kLongitude, NSNumber::numberWithDouble(where->longitude));
    }
    put(*dictionary, kTemperature, city->temperature());
    put(*dictionary, kConditionCode, NSNumber::numberWithLong(city->conditionCode()));
    if (auto forecasts = city->hourlyForecasts()) {
        auto list = NSMutableArray::array();
        for (const objc::id& entry : *forecasts)
            if (auto forecast = std::dynamic_pointer_cast<HourlyForecast>(entry))
                list->addObject(forecastDictionary(*forecast));
        put(*dictionary, kHourlyForecasts, list);
    }
    return dictionary;
}

std::shared_ptr<City> WeatherPreferences::cityFromPreferencesDictionary(const objc::id& object) const
{
    auto dictionary = std::dynamic_pointer_cast<NSDictionary>(object);
    if (!dictionary)
        return nullptr;
    auto city = std::make_shared<City>();
    city->setName(textAt(*dictionary, kName));
    city->setLocationID(textAt(*dictionary, kLocationID));
    const auto latitude = realAt(*dictionary, kLatitude);
    const auto longitude = realAt(*dictionary, kLongitude);
    if (latitude && longitude && weather::areValidCoordinates({*latitude, *longitude}))
        city->setLocation(weather::makeLocation({*latitude, *longitude}));
    city->setTemperature(temperatureAt(*dictionary));
    city->setConditionCode(codeAt(*dictionary, kConditionCode).value_or(0));
    if (auto list = std::dynamic_pointer_cast<NSArray>(dictionary->objectForKey(kHourlyForecasts))) {
        auto forecasts = NSMutableArray::array();
        for (const objc::id& entry : *list)
            if (auto forecastEntry = std::dynamic_pointer_cast<NSDictionary>(entry))
                forecasts->addObject(forecastFromDictionary(*forecastEntry));
        city->setHourlyForecasts(NSArray::arrayWithArray(forecasts));
    }
    return city;
}
