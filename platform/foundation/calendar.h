// NSCalendar: breaks instants into fields (year, month, day, hour, weekday, ...) and back, in a
// time zone. The current calendar is Gregorian in the device's time zone and locale.
#pragma once

#include "foundation/date_components.h"

#include <memory>
#include <string>

class NSDate;
class NSLocale;
class NSTimeZone;

inline constexpr const char* NSCalendarIdentifierGregorian = "gregorian";
inline constexpr const char* NSCalendarIdentifierISO8601 = "iso8601";

class NSCalendar : public objc::Object {
    OBJC_CLASS(NSCalendar, objc::Object)
public:
    // alloc/init gives the current calendar.
    NSCalendar();

    // Gregorian, in the device's time zone and locale as they are set at the time of the call.
    static std::shared_ptr<NSCalendar> currentCalendar();
    // Any calendar ICU has ("gregorian", "buddhist", "japanese", "hebrew", "islamic", ...,
    // "republic-of-china"), in the device's time zone and locale; nil for an unknown identifier.
    static std::shared_ptr<NSCalendar> calendarWithIdentifier(const std::string& identifier);

    const std::string& calendarIdentifier() const { return identifier_; }
    const std::shared_ptr<NSTimeZone>& timeZone() const { return timeZone_; }
    // nil puts back the device's zone.
    void setTimeZone(const std::shared_ptr<NSTimeZone>& zone);
    const std::shared_ptr<NSLocale>& locale() const { return locale_; }
    // nil puts back the device's locale.
    void setLocale(const std::shared_ptr<NSLocale>& locale);
    // The locale's first day of the week, 1 = Sunday.
    long firstWeekday() const;

    // One field of the date (month 1 to 12, weekday 1 = Sunday to 7 = Saturday);
    // NSDateComponentUndefined for a nil or unrepresentable date or a unit without a field.
    long component(unsigned long unit, const std::shared_ptr<NSDate>& date) const;
    // The fields of the units asked for; the others stay undefined. nil for a nil date.
    std::shared_ptr<NSDateComponents> components(unsigned long units, const std::shared_ptr<NSDate>& date) const;
    // The same under the selectors' own names ("component:fromDate:", "components:fromDate:").
    long componentFromDate(unsigned long unit, const std::shared_ptr<NSDate>& date) const { return component(unit, date); }
    std::shared_ptr<NSDateComponents> componentsFromDate(unsigned long units, const std::shared_ptr<NSDate>& date) const
    {
        return components(units, date);
    }
    // The instant the fields name in this calendar's zone. Fields left undefined take the start
    // of 1970; out-of-range fields carry over (day 32 of January is the 1st of February); a
    // weekday or week field does not move the date. nil for nil components.
    std::shared_ptr<NSDate> dateFromComponents(const std::shared_ptr<NSDateComponents>& components) const;
    // Local midnight at the start of the date's day.
    std::shared_ptr<NSDate> startOfDayForDate(const std::shared_ptr<NSDate>& date) const;

    std::string description() const override { return identifier_; }

private:
    std::string identifier_ = NSCalendarIdentifierGregorian;
    std::shared_ptr<NSTimeZone> timeZone_;
    std::shared_ptr<NSLocale> locale_;
};
