// HourlyForecast: the weather of one coming hour in a City's hourlyForecasts.
#pragma once

#include "objc/objc.h"

#include <memory>

class NSString;

class HourlyForecast : public objc::Object {
    OBJC_CLASS(HourlyForecast, objc::Object)
public:
    HourlyForecast() = default;

    // The hour, "HH:mm" on the 24-hour clock in the place's local time.
    std::shared_ptr<NSString> time() const { return time_; }
    void setTime(const std::shared_ptr<NSString>& time) { time_ = time; }
    // The temperature as it is shown to the user ("21°").
    std::shared_ptr<NSString> detail() const { return detail_; }
    void setDetail(const std::shared_ptr<NSString>& detail) { detail_ = detail; }
    // The hour's condition code, 0 to 47.
    long conditionCode() const { return conditionCode_; }
    void setConditionCode(long code) { conditionCode_ = code; }

    std::string description() const override;

private:
    std::shared_ptr<NSString> time_;
    std::shared_ptr<NSString> detail_;
    long conditionCode_ = 0;
};
