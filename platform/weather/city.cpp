#include "weather/city.h"

#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "weather/condition_codes.h"

OBJC_REGISTER(City,
    c.method<&City::location>("location");
    c.method<&City::setLocation>("setLocation:");
    c.method<&City::locationID>("locationID");
    c.method<&City::setLocationID>("setLocationID:");
    c.method<&City::name>("name");
    c.method<&City::setName>("setName:");
    c.method<&City::temperature>("temperature");
    c.method<&City::setTemperature>("setTemperature:");
    c.method<&City::conditionCode>("conditionCode");
    c.method<&City::setConditionCode>("setConditionCode:");
    c.method<&City::hourlyForecasts>("hourlyForecasts");
    c.method<&City::setHourlyForecasts>("setHourlyForecasts:");)

std::string City::description() const
{
    auto text = [](const std::shared_ptr<NSString>& s) { return s ? s->description() : std::string("(null)"); };
    return "<City " + text(name_) + " at " + (location_ ? location_->description() : "(no location)") + ", id " +
           text(locationID_) + ": " + text(temperature_) + " \u00B0C, " + std::string(weather::conditionName(conditionCode_)) +
           ", " + std::to_string(hourlyForecasts_ ? hourlyForecasts_->count() : 0) + " hours>";
}
