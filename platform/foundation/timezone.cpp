#include "foundation/timezone.h"

#include "foundation/calendar_icu.h"
#include "foundation/clock.h"
#include "foundation/date.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <unordered_map>

namespace foundation {

namespace {
constexpr const char* kZoneVariable = "VANTOREL_TIMEZONE";

// TZ may read ":Europe/Berlin" or "/usr/share/zoneinfo/Europe/Berlin".
std::string zoneFromTZ(std::string tz)
{
    if (!tz.empty() && tz.front() == ':')
        tz.erase(0, 1);
    if (auto at = tz.find("zoneinfo/"); !tz.empty() && tz.front() == '/' && at != std::string::npos)
        tz.erase(0, at + 9);
    return tz;
}
} // namespace

std::string deviceTimeZone()
{
    if (const char* zone = std::getenv(kZoneVariable); zone && *zone)
        return zone;
    if (const char* tz = std::getenv("TZ"); tz && *tz) {
        std::string zone = zoneFromTZ(tz);
        if (!zone.empty())
            return zone;
    }
    return "UTC";
}

void setDeviceTimeZone(const std::string& name) { ::setenv(kZoneVariable, name.c_str(), 1); }

namespace icu_bridge {

std::unique_ptr<icu::TimeZone> timeZone(const std::string& name)
{
    constexpr std::size_t kKept = 64;
    thread_local std::unordered_map<std::string, std::unique_ptr<icu::TimeZone>> kept; // nullptr: unknown
    auto found = kept.find(name);
    if (found == kept.end()) {
        std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(unicode(name)));
        if (!zone || *zone == icu::TimeZone::getUnknown())
            zone = nullptr;
        if (kept.size() >= kKept)
            kept.clear();
        found = kept.emplace(name, std::move(zone)).first;
    }
    return found->second ? std::unique_ptr<icu::TimeZone>(found->second->clone()) : nullptr;
}

std::unique_ptr<icu::TimeZone> zoneOrUTC(const std::string& name)
{
    if (auto zone = timeZone(name))
        return zone;
    return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createTimeZone("UTC"));
}

} // namespace icu_bridge

} // namespace foundation

namespace bridge = foundation::icu_bridge;

namespace {

// ICU's name for a zone name, or nullopt when ICU does not know it; each thread keeps what it
// found out.
std::optional<std::string> icuZoneName(const std::string& name)
{
    constexpr std::size_t kKept = 64;
    thread_local std::unordered_map<std::string, std::optional<std::string>> kept;
    if (auto found = kept.find(name); found != kept.end())
        return found->second;
    std::optional<std::string> id;
    if (auto known = bridge::timeZone(name)) {
        icu::UnicodeString text;
        id = bridge::utf8(known->getID(text));
    }
    if (kept.size() >= kKept)
        kept.clear();
    kept.emplace(name, id);
    return id;
}

} // namespace

std::shared_ptr<NSTimeZone> NSTimeZone::localTimeZone()
{
    auto zone = std::make_shared<NSTimeZone>();
    if (auto name = icuZoneName(foundation::deviceTimeZone()))
        zone->name_ = std::move(*name);
    return zone;
}

std::shared_ptr<NSTimeZone> NSTimeZone::timeZoneWithName(const std::string& name)
{
    auto known = icuZoneName(name);
    if (!known)
        return nullptr;
    auto zone = std::make_shared<NSTimeZone>();
    zone->name_ = std::move(*known);
    return zone;
}

std::shared_ptr<NSTimeZone> NSTimeZone::timeZoneForSecondsFromGMT(long seconds)
{
    if (seconds <= -86400 || seconds >= 86400)
        return nullptr;
    const long minutes = std::labs(seconds) / 60;
    char name[32];
    std::snprintf(name, sizeof name, "GMT%c%02ld:%02ld", seconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return timeZoneWithName(name);
}

long NSTimeZone::secondsFromGMT() const { return secondsFromGMTForDate(nullptr); }

long NSTimeZone::secondsFromGMTForDate(const std::shared_ptr<NSDate>& date) const
{
    const double when = date ? date->timeIntervalSince1970() : foundation::now();
    if (!std::isfinite(when))
        return 0;
    auto zone = bridge::zoneOrUTC(name_);
    int32_t raw = 0, dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    zone->getOffset(bridge::toUDate(when), false, raw, dst, status);
    return U_SUCCESS(status) ? (long(raw) + long(dst)) / 1000 : 0;
}

bool NSTimeZone::isDaylightSavingTimeForDate(const std::shared_ptr<NSDate>& date) const
{
    const double when = date ? date->timeIntervalSince1970() : foundation::now();
    if (!std::isfinite(when))
        return false;
    auto zone = bridge::zoneOrUTC(name_);
    int32_t raw = 0, dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    zone->getOffset(bridge::toUDate(when), false, raw, dst, status);
    return U_SUCCESS(status) && dst != 0;
}

bool NSTimeZone::isEqual(const objc::Object* other) const
{
    auto* zone = dynamic_cast<const NSTimeZone*>(other);
    return zone && zone->name_ == name_;
}

OBJC_REGISTER(NSTimeZone,
    c.classMethod<&NSTimeZone::localTimeZone>("localTimeZone");
    c.classMethod<&NSTimeZone::systemTimeZone>("systemTimeZone");
    c.classMethod<&NSTimeZone::defaultTimeZone>("defaultTimeZone");
    c.classMethod<&NSTimeZone::timeZoneForSecondsFromGMT>("timeZoneForSecondsFromGMT:");
    c.method<&NSTimeZone::secondsFromGMT>("secondsFromGMT");
    c.method<&NSTimeZone::secondsFromGMTForDate>("secondsFromGMTForDate:");
    c.method<&NSTimeZone::isDaylightSavingTimeForDate>("isDaylightSavingTimeForDate:");)
