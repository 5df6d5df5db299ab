#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "weather/city.h"
#include "weather/hourly_forecast.h"
#include "weather/weather_location.h"
#include "weather_test_support.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace objc;
using weathertest::PhoneLocation;

namespace {

id newCity()
{
    Class cls = objc_getClass("City");
    return msgSend<id>(msgSend<id>(cls, "alloc"_sel), "init"_sel);
}

class OddLocation : public Object {
    OBJC_CLASS(OddLocation, Object)
public:
    double coordinate() const { return 1; }
};

} // namespace

OBJC_REGISTER(OddLocation, c.method<&OddLocation::coordinate>("coordinate");)

TEST(WeatherCity, ANewCityKnowsNothingUntilToldAndKeepsWhatItIsGiven)
{
    id city = newCity();
    ASSERT_TRUE(city);
    EXPECT_EQ(city->isa(), objc_getClass("City"));
    EXPECT_EQ(msgSend<id>(city, "location"_sel), nullptr);
    EXPECT_EQ(msgSend<id>(city, "locationID"_sel), nullptr);
    EXPECT_EQ(msgSend<id>(city, "name"_sel), nullptr);
    EXPECT_EQ(msgSend<id>(city, "temperature"_sel), nullptr);
    EXPECT_EQ(msgSend<long>(city, "conditionCode"_sel), 0);
    EXPECT_EQ(msgSend<id>(city, "hourlyForecasts"_sel), nullptr);

    auto location = std::make_shared<PhoneLocation>(48.5, 9.25);
    msgSend(city, "setLocation:"_sel, location);
    msgSend(city, "setLocationID:"_sel, NSStr("48.500000,9.250000"));
    msgSend(city, "setName:"_sel, NSStr("Tübingen"));
    EXPECT_EQ(msgSend<id>(city, "location"_sel), location);
    EXPECT_EQ(std::static_pointer_cast<NSString>(msgSend<id>(city, "locationID"_sel))->string(), "48.500000,9.250000");
    EXPECT_EQ(std::static_pointer_cast<NSString>(msgSend<id>(city, "name"_sel))->string(), "Tübingen");
    EXPECT_NE(city->description().find("Tübingen"), std::string::npos);
}

TEST(WeatherCity, TemperatureReadsAsTextAndAsNumber)
{
    auto city = std::make_shared<City>();
    city->setTemperature(NSStr("-3.5"));
    auto temperature = std::dynamic_pointer_cast<NSString>(msgSend<id>(city, "temperature"_sel));
    ASSERT_TRUE(temperature);
    EXPECT_EQ(temperature->description(), "-3.5");
    EXPECT_FLOAT_EQ(temperature->floatValue(), -3.5f);
}

TEST(WeatherCity, CoordinatesComeFromAnyObjectThatAnswersCoordinate)
{
    auto city = std::make_shared<City>();
    EXPECT_FALSE(city->coordinates());

    city->setLocation(std::make_shared<PhoneLocation>(-33.87, 151.21));
    ASSERT_TRUE(city->coordinates());
    EXPECT_EQ(*city->coordinates(), (weather::WeatherCoordinates{-33.87, 151.21}));

    city->setLocation(weather::makeLocation({10, 20}));
    ASSERT_TRUE(city->coordinates());
    EXPECT_EQ(*city->coordinates(), (weather::WeatherCoordinates{10, 20}));
    EXPECT_EQ(city->location()->description(), "<+10.000000,+20.000000>");

    // Objects of another shape, and places off the globe, give no coordinates and no crash.
    city->setLocation(NSStr("48.5,9.25"));
    EXPECT_FALSE(city->coordinates());
    city->setLocation(std::make_shared<OddLocation>());
    EXPECT_FALSE(city->coordinates());
    city->setLocation(std::make_shared<PhoneLocation>(91, 0));
    EXPECT_FALSE(city->coordinates());
    city->setLocation(std::make_shared<PhoneLocation>(0, NAN));
    EXPECT_FALSE(city->coordinates());
}

TEST(WeatherCity, HourlyForecastsCarryTimeDetailAndCondition)
{
    Class cls = objc_getClass("HourlyForecast");
    ASSERT_NE(cls, nullptr);
    id forecast = msgSend<id>(msgSend<id>(cls, "alloc"_sel), "init"_sel);
    msgSend(forecast, "setTime:"_sel, NSStr("07:00"));
    msgSend(forecast, "setDetail:"_sel, NSStr("12°"));
    msgSend(forecast, "setConditionCode:"_sel, 34L);
    EXPECT_EQ(std::static_pointer_cast<NSString>(msgSend<id>(forecast, "time"_sel))->string(), "07:00");
    EXPECT_EQ(std::static_pointer_cast<NSString>(msgSend<id>(forecast, "detail"_sel))->string(), "12°");
    EXPECT_EQ(msgSend<long>(forecast, "conditionCode"_sel), 34);
}
