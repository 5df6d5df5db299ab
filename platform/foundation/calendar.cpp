#include "foundation/calendar.h"

#include "foundation/calendar_icu.h"
#include "foundation/date.h"
#include "foundation/locale.h"
#include "foundation/timezone.h"

#include <cmath>
#include <map>
#include <tuple>

namespace foundation::icu_bridge {

std::string icuCalendarType(const std::string& identifier)
{
    if (identifier == "republic-of-china")
        return "roc";
    return identifier;
}

std::unique_ptr<icu::Calendar> calendar(const std::string& identifier, const std::string& zone,
                                        const std::string& localeIdentifier)
{
    const std::string type = icuCalendarType(identifier);
    // Identifiers end up in a locale keyword: keep them to the characters calendar types use.
    if (type.empty() || type.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-") != std::string::npos)
        return nullptr;
    // Each thread keeps the calendars it made, by type, zone and locale, and hands out copies:
    // copying is much cheaper than making one, and callers set the time they need.
    constexpr std::size_t kKept = 32;
    using Key = std::tuple<std::string, std::string, std::string>;
    thread_local std::map<Key, std::unique_ptr<icu::Calendar>> kept;
    Key key{type, zone, localeIdentifier};
    if (auto found = kept.find(key); found != kept.end())
        return std::unique_ptr<icu::Calendar>(found->second->clone());
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale where = locale(localeIdentifier);
    where.setKeywordValue("calendar", type.c_str(), status);
    if (U_FAILURE(status))
        return nullptr;
    std::unique_ptr<icu::Calendar> cal(icu::Calendar::createInstance(zoneOrUTC(zone).release(), where, status));
    // ICU falls back to Gregorian for a type it does not have: that is an unknown calendar.
    if (U_FAILURE(status) || !cal || type != cal->getType())
        return nullptr;
    if (kept.size() >= kKept)
        kept.clear();
    kept.emplace(std::move(key), std::unique_ptr<icu::Calendar>(cal->clone()));
    return cal;
}

} // namespace foundation::icu_bridge

namespace bridge = foundation::icu_bridge;

namespace {

UCalendarDateFields icuField(unsigned long unit, bool& known)
{
    known = true;
    switch (unit) {
    case NSCalendarUnitEra: return UCAL_ERA;
    case NSCalendarUnitYear: return UCAL_YEAR;
    case NSCalendarUnitMonth: return UCAL_MONTH;
    case NSCalendarUnitDay: return UCAL_DATE;
    case NSCalendarUnitHour: return UCAL_HOUR_OF_DAY;
    case NSCalendarUnitMinute: return UCAL_MINUTE;
    case NSCalendarUnitSecond: return UCAL_SECOND;
    case NSCalendarUnitWeekday: return UCAL_DAY_OF_WEEK;
    case NSCalendarUnitWeekOfMonth: return UCAL_WEEK_OF_MONTH;
    case NSCalendarUnitWeekOfYear: return UCAL_WEEK_OF_YEAR;
    default: known = false; return UCAL_ERA;
    }
}

constexpr unsigned long kUnits[] = {NSCalendarUnitEra,     NSCalendarUnitYear,        NSCalendarUnitMonth,
                                    NSCalendarUnitDay,     NSCalendarUnitHour,        NSCalendarUnitMinute,
                                    NSCalendarUnitSecond,  NSCalendarUnitWeekday,     NSCalendarUnitWeekOfMonth,
                                    NSCalendarUnitWeekOfYear};

} // namespace

NSCalendar::NSCalendar() : timeZone_(NSTimeZone::localTimeZone()), locale_(NSLocale::currentLocale()) {}

std::shared_ptr<NSCalendar> NSCalendar::currentCalendar() { return std::make_shared<NSCalendar>(); }

std::shared_ptr<NSCalendar> NSCalendar::calendarWithIdentifier(const std::string& identifier)
{
    auto cal = std::make_shared<NSCalendar>();
    if (!bridge::calendar(identifier, cal->timeZone_->name(), cal->locale_->localeIdentifier()))
        return nullptr;
    cal->identifier_ = identifier;
    return cal;
}

void NSCalendar::setTimeZone(const std::shared_ptr<NSTimeZone>& zone) { timeZone_ = zone ? zone : NSTimeZone::localTimeZone(); }

void NSCalendar::setLocale(const std::shared_ptr<NSLocale>& locale) { locale_ = locale ? locale : NSLocale::currentLocale(); }

long NSCalendar::firstWeekday() const
{
    auto cal = bridge::calendar(identifier_, timeZone_->name(), locale_->localeIdentifier());
    return cal ? long(cal->getFirstDayOfWeek()) : 1;
}

long NSCalendar::component(unsigned long unit, const std::shared_ptr<NSDate>& date) const
{
    bool known = false;
    const UCalendarDateFields field = icuField(unit, known);
    if (!known || !date || !std::isfinite(date->timeIntervalSince1970()))
        return NSDateComponentUndefined;
    auto cal = bridge::calendar(identifier_, timeZone_->name(), locale_->localeIdentifier());
    if (!cal)
        return NSDateComponentUndefined;
    UErrorCode status = U_ZERO_ERROR;
    cal->setTime(bridge::toUDate(date->timeIntervalSince1970()), status);
    const long value = cal->get(field, status);
    if (U_FAILURE(status))
        return NSDateComponentUndefined;
    return field == UCAL_MONTH ? value + 1 : value; // ICU counts months from 0
}

std::shared_ptr<NSDateComponents> NSCalendar::components(unsigned long units, const std::shared_ptr<NSDate>& date) const
{
    if (!date)
        return nullptr;
    auto parts = std::make_shared<NSDateComponents>();
    for (unsigned long unit : kUnits)
        if (units & unit)
            parts->setValueForComponent(component(unit, date), unit);
    return parts;
}

std::shared_ptr<NSDate> NSCalendar::dateFromComponents(const std::shared_ptr<NSDateComponents>& parts) const
{
    if (!parts)
        return nullptr;
    auto cal = bridge::calendar(identifier_, timeZone_->name(), locale_->localeIdentifier());
    if (!cal)
        return nullptr;
    cal->clear();
    cal->setLenient(true);
    // Outside int range a field cannot go to ICU; such a date does not exist.
    auto set = [&](UCalendarDateFields field, long value, long offset) {
        if (value == NSDateComponentUndefined)
            return true;
        if (value < -2000000000L || value > 2000000000L)
            return false;
        cal->set(field, int32_t(value + offset));
        return true;
    };
    const bool ok = set(UCAL_ERA, parts->era(), 0) && set(UCAL_YEAR, parts->year(), 0) &&
                    set(UCAL_MONTH, parts->month(), -1) && set(UCAL_DATE, parts->day(), 0) &&
                    set(UCAL_HOUR_OF_DAY, parts->hour(), 0) && set(UCAL_MINUTE, parts->minute(), 0) &&
                    set(UCAL_SECOND, parts->second(), 0);
    if (!ok)
        return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    const UDate when = cal->getTime(status);
    if (U_FAILURE(status))
        return nullptr;
    return NSDate::dateWithTimeIntervalSince1970(bridge::fromUDate(when));
}

std::shared_ptr<NSDate> NSCalendar::startOfDayForDate(const std::shared_ptr<NSDate>& date) const
{
    auto day = components(NSCalendarUnitEra | NSCalendarUnitYear | NSCalendarUnitMonth | NSCalendarUnitDay, date);
    if (!day || day->day() == NSDateComponentUndefined)
        return nullptr;
    return dateFromComponents(day);
}

OBJC_REGISTER(NSCalendar,
    c.classMethod<&NSCalendar::currentCalendar>("currentCalendar");
    c.method<&NSCalendar::timeZone>("timeZone");
    c.method<&NSCalendar::setTimeZone>("setTimeZone:");
    c.method<&NSCalendar::locale>("locale");
    c.method<&NSCalendar::setLocale>("setLocale:");
    c.method<&NSCalendar::firstWeekday>("firstWeekday");
    c.method<&NSCalendar::component>("component:fromDate:");
    c.method<&NSCalendar::components>("components:fromDate:");
    c.method<&NSCalendar::dateFromComponents>("dateFromComponents:");
    c.method<&NSCalendar::startOfDayForDate>("startOfDayForDate:");)
