#include "foundation/ns_array.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_number.h"
#include "foundation/ns_string.h"
#include "support/device_root.h"
#include "weather/city.h"
#include "weather/hourly_forecast.h"
#include "weather/weather_preferences.h"
#include "weather_test_support.h"

#include <gtest/gtest.h>

using namespace objc;
using weathertest::PhoneLocation;
using weathertest::ScopedEnvironment;

namespace {

constexpr const char* kCityFile = "/Library/Application Support/Vantorel/City.plist";

std::shared_ptr<HourlyForecast> hour(const std::string& time, const std::string& detail, long code)
{
    auto forecast = std::make_shared<HourlyForecast>();
    forecast->setTime(NSStr(time));
    forecast->setDetail(NSStr(detail));
    forecast->setConditionCode(code);
    return forecast;
}

std::shared_ptr<City> fullCity()
{
    auto city = std::make_shared<City>();
    city->setLocation(std::make_shared<PhoneLocation>(48.5, 9.25));
    city->setLocationID(NSStr("48.500000,9.250000"));
    city->setName(NSStr("Tübingen"));
    city->setTemperature(NSStr("21.5"));
    city->setConditionCode(30);
    city->setHourlyForecasts(NSArray::arrayWithObjects(
        {hour("14:00", "22°", 30), hour("15:00", "22°", 28), hour("16:00", "23°", 4)}));
    return city;
}

std::string text(const std::shared_ptr<NSString>& s) { return s ? s->string() : "(nil)"; }

void expectSameCity(const City& read, const City& written)
{
    EXPECT_EQ(text(read.name()), text(written.name()));
    EXPECT_EQ(text(read.locationID()), text(written.locationID()));
    EXPECT_EQ(read.coordinates(), written.coordinates());
    EXPECT_EQ(text(read.temperature()), text(written.temperature()));
    EXPECT_EQ(read.conditionCode(), written.conditionCode());
    ASSERT_EQ(read.hourlyForecasts() == nullptr, written.hourlyForecasts() == nullptr);
    if (!written.hourlyForecasts())
        return;
    ASSERT_EQ(read.hourlyForecasts()->count(), written.hourlyForecasts()->count());
    for (unsigned long i = 0; i < written.hourlyForecasts()->count(); ++i) {
        auto a = std::dynamic_pointer_cast<HourlyForecast>(read.hourlyForecasts()->objectAtIndex(i));
        auto b = std::dynamic_pointer_cast<HourlyForecast>(written.hourlyForecasts()->objectAtIndex(i));
        ASSERT_TRUE(a);
        EXPECT_EQ(text(a->time()), text(b->time()));
        EXPECT_EQ(text(a->detail()), text(b->detail()));
        EXPECT_EQ(a->conditionCode(), b->conditionCode());
    }
}

id sharedStore()
{
    return msgSend<id>(objc_getClass("WeatherPreferences"), "sharedPreferences"_sel);
}

class WeatherPreferencesStore : public testsupport::DeviceRootTest {
protected:
    // Through the runtime and a real property-list file, as the daemon writes and the readers read.
    std::shared_ptr<City> throughFile(const std::shared_ptr<City>& city)
    {
        device.makeFolder("/Library/Application Support/Vantorel");
        auto dictionary = std::dynamic_pointer_cast<NSDictionary>(
            msgSend<id>(sharedStore(), "preferencesDictionaryForCity:"_sel, city));
        EXPECT_TRUE(dictionary);
        if (!dictionary)
            return nullptr;
        EXPECT_TRUE(dictionary->writeToFileAtomically(kCityFile, true));
        auto read = NSDictionary::dictionaryWithContentsOfFile(kCityFile);
        EXPECT_TRUE(read);
        return std::dynamic_pointer_cast<City>(msgSend<id>(sharedStore(), "cityFromPreferencesDictionary:"_sel, read));
    }
};

} // namespace

TEST_F(WeatherPreferencesStore, OneStorePerProcessFoundByName)
{
    Class cls = objc_getClass("WeatherPreferences");
    ASSERT_NE(cls, nullptr);
    id store = sharedStore();
    ASSERT_TRUE(store);
    EXPECT_EQ(store, sharedStore());
    EXPECT_EQ(store, WeatherPreferences::sharedPreferences());
}

TEST_F(WeatherPreferencesStore, ACityWrittenToAFileReadsBackWithEveryProperty)
{
    const auto written = fullCity();
    const auto read = throughFile(written);
    ASSERT_TRUE(read);
    expectSameCity(*read, *written);
    EXPECT_FLOAT_EQ(read->temperature()->floatValue(), 21.5f);

    // The file is an ordinary property list holding what the city had.
    auto raw = NSDictionary::dictionaryWithContentsOfFile(kCityFile);
    ASSERT_TRUE(raw);
    EXPECT_TRUE(std::dynamic_pointer_cast<NSArray>(raw->objectForKey("HourlyForecasts")));
}

TEST_F(WeatherPreferencesStore, MissingNameOrLocationIDStayMissing)
{
    auto unnamed = fullCity();
    unnamed->setName(nullptr);
    unnamed->setLocationID(nullptr);
    auto read = throughFile(unnamed);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->name(), nullptr);
    EXPECT_EQ(read->locationID(), nullptr);
    expectSameCity(*read, *unnamed);

    // Only the identifier missing, as for a city straight from the weather service.
    auto anonymous = fullCity();
    anonymous->setLocationID(nullptr);
    read = throughFile(anonymous);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->locationID(), nullptr);
    EXPECT_EQ(text(read->name()), "Tübingen");

    // A city that knows nothing at all reads back as one that knows nothing.
    auto blank = std::make_shared<City>();
    read = throughFile(blank);
    ASSERT_TRUE(read);
    expectSameCity(*read, *blank);
    EXPECT_EQ(read->location(), nullptr);

    // An empty forecast list is kept as an empty list, not as no list.
    auto quiet = fullCity();
    quiet->setHourlyForecasts(NSArray::array());
    read = throughFile(quiet);
    ASSERT_TRUE(read && read->hourlyForecasts());
    EXPECT_EQ(read->hourlyForecasts()->count(), 0u);
}

TEST_F(WeatherPreferencesStore, NothingOrSomethingElseGivesNoCity)
{
    id store = sharedStore();
    EXPECT_EQ(msgSend<id>(store, "cityFromPreferencesDictionary:"_sel, nullptr), nullptr);
    EXPECT_EQ(msgSend<id>(store, "cityFromPreferencesDictionary:"_sel, NSStr("City")), nullptr);
    EXPECT_EQ(msgSend<id>(store, "cityFromPreferencesDictionary:"_sel, NSArray::array()), nullptr);
    EXPECT_EQ(msgSend<id>(store, "preferencesDictionaryForCity:"_sel, nullptr), nullptr);
    EXPECT_EQ(msgSend<id>(store, "preferencesDictionaryForCity:"_sel, NSStr("City")), nullptr);

    // A missing file and a file that is no property list read as no dictionary, hence no city.
    EXPECT_EQ(msgSend<id>(store, "cityFromPreferencesDictionary:"_sel,
                          NSDictionary::dictionaryWithContentsOfFile(kCityFile)),
              nullptr);
    device.writeFile(kCityFile, "<plist><dict><key>Name</key>");
    EXPECT_EQ(msgSend<id>(store, "cityFromPreferencesDictionary:"_sel,
                          NSDictionary::dictionaryWithContentsOfFile(kCityFile)),
              nullptr);
}

TEST_F(WeatherPreferencesStore, ValuesOfTheWrongKindReadAsAbsent)
{
    auto junkHour = NSMutableDictionary::dictionary();
    junkHour->setObjectForKey(NSNumber::numberWithLong(14), "Time");
    junkHour->setObjectForKey(NSStr("warm"), "ConditionCode");
    auto goodHour = NSMutableDictionary::dictionary();
    goodHour->setObjectForKey(NSStr("15:00"), "Time");
    goodHour->setObjectForKey(NSStr("9°"), "Detail");
    goodHour->setObjectForKey(NSNumber::numberWithDouble(12.0), "ConditionCode");

    auto dictionary = NSMutableDictionary::dictionary();
    dictionary->setObjectForKey(NSNumber::numberWithLong(7), "Name");
    dictionary->setObjectForKey(NSArray::array(), "LocationID");
    dictionary->setObjectForKey(NSStr("48.5"), "Latitude");
    dictionary->setObjectForKey(NSNumber::numberWithDouble(9.25), "Longitude");
    dictionary->setObjectForKey(NSNumber::numberWithDouble(-2.5), "Temperature");
    dictionary->setObjectForKey(NSNumber::numberWithBool(true), "ConditionCode");
    dictionary->setObjectForKey(
        NSArray::arrayWithObjects({NSStr("14:00"), junkHour, goodHour, NSNumber::numberWithLong(3)}), "HourlyForecasts");

    auto city = WeatherPreferences::sharedPreferences()->cityFromPreferencesDictionary(dictionary);
    ASSERT_TRUE(city);
    EXPECT_EQ(city->name(), nullptr);
    EXPECT_EQ(city->locationID(), nullptr);
    EXPECT_EQ(city->location(), nullptr); // half a location is no location
    EXPECT_EQ(text(city->temperature()), "-2.5"); // a number stands for the temperature text
    EXPECT_EQ(city->conditionCode(), 0);
    ASSERT_TRUE(city->hourlyForecasts());
    ASSERT_EQ(city->hourlyForecasts()->count(), 2u);
    auto junk = std::static_pointer_cast<HourlyForecast>(city->hourlyForecasts()->objectAtIndex(0));
    EXPECT_EQ(junk->time(), nullptr);
    EXPECT_EQ(junk->detail(), nullptr);
    EXPECT_EQ(junk->conditionCode(), 0);
    auto good = std::static_pointer_cast<HourlyForecast>(city->hourlyForecasts()->objectAtIndex(1));
    EXPECT_EQ(text(good->time()), "15:00");
    EXPECT_EQ(good->conditionCode(), 12);

    auto offGlobe = NSMutableDictionary::dictionary();
    offGlobe->setObjectForKey(NSNumber::numberWithDouble(123), "Latitude");
    offGlobe->setObjectForKey(NSNumber::numberWithDouble(9.25), "Longitude");
    offGlobe->setObjectForKey(NSStr("Nowhere"), "HourlyForecasts");
    city = WeatherPreferences::sharedPreferences()->cityFromPreferencesDictionary(offGlobe);
    ASSERT_TRUE(city);
    EXPECT_EQ(city->location(), nullptr);
    EXPECT_EQ(city->hourlyForecasts(), nullptr);
}

TEST_F(WeatherPreferencesStore, CelsiusIsASettingOfTheDevice)
{
    {
        ScopedEnvironment fahrenheit("VANTOREL_WEATHER_CELSIUS", "0");
        EXPECT_FALSE(WeatherPreferences().isCelsius());
    }
    {
        ScopedEnvironment celsius("VANTOREL_WEATHER_CELSIUS", "1");
        EXPECT_TRUE(WeatherPreferences().isCelsius());
    }
    {
        ScopedEnvironment unset("VANTOREL_WEATHER_CELSIUS", std::nullopt);
        EXPECT_TRUE(WeatherPreferences().isCelsius());
    }

    id store = sharedStore();
    const bool before = msgSend<bool>(store, "isCelsius"_sel);
    msgSend(store, "setCelsius:"_sel, !before);
    EXPECT_EQ(msgSend<bool>(store, "isCelsius"_sel), !before);
    msgSend(store, "setCelsius:"_sel, before);
}
