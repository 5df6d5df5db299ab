// Time zones. The device's time zone is a setting of the simulated device: the variable
// VANTOREL_TIMEZONE, else TZ, else "UTC"; processes started later inherit it.
#pragma once

#include "objc/objc.h"

#include <memory>
#include <string>

class NSDate;

namespace foundation {

// The device's time-zone name as set ("Europe/Berlin"); a name nobody knows acts as UTC.
std::string deviceTimeZone();
void setDeviceTimeZone(const std::string& name);

} // namespace foundation

// NSTimeZone: a named zone of the tz database (or a fixed offset such as "GMT+01:00").
class NSTimeZone : public objc::Object {
    OBJC_CLASS(NSTimeZone, objc::Object)
public:
    // alloc/init gives UTC.
    NSTimeZone() = default;

    // The device's zone, as it is set at the time of the call.
    static std::shared_ptr<NSTimeZone> localTimeZone();
    static std::shared_ptr<NSTimeZone> systemTimeZone() { return localTimeZone(); }
    static std::shared_ptr<NSTimeZone> defaultTimeZone() { return localTimeZone(); }
    // nil for a name that is no known zone.
    static std::shared_ptr<NSTimeZone> timeZoneWithName(const std::string& name);
    // A fixed offset east of Greenwich, within a day either way; nil beyond.
    static std::shared_ptr<NSTimeZone> timeZoneForSecondsFromGMT(long seconds);

    const std::string& name() const { return name_; }
    long secondsFromGMT() const;
    // The offset at that instant, daylight saving included; at now for a nil date.
    long secondsFromGMTForDate(const std::shared_ptr<NSDate>& date) const;
    bool isDaylightSavingTimeForDate(const std::shared_ptr<NSDate>& date) const;

    std::string description() const override { return name_; }
    bool isEqual(const objc::Object* other) const override;
    std::size_t hash() const override { return std::hash<std::string>()(name_); }

private:
    std::string name_ = "UTC";
};
