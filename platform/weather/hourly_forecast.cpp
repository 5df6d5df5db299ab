#include "weather/hourly_forecast.h"

#include "foundation/ns_string.h"

OBJC_REGISTER(HourlyForecast,
    c.method<&HourlyForecast::time>("time");
    c.method<&HourlyForecast::setTime>("setTime:");
    c.method<&HourlyForecast::detail>("detail");
    c.method<&HourlyForecast::setDetail>("setDetail:");
    c.method<&HourlyForecast::conditionCode>("conditionCode");
    c.method<&HourlyForecast::setConditionCode>("setConditionCode:");)

std::string HourlyForecast::description() const
{
    return "<HourlyForecast " + (time_ ? time_->description() : "(null)") + " " +
           (detail_ ? detail_->description() : "(null)") + " " + std::to_string(conditionCode_) + ">";
}
