// NSDateComponents: the fields of a date in some calendar (year, month, day, hour, ...); a field
// that was not asked for or not set reads NSDateComponentUndefined.
#pragma once

#include "objc/objc.h"

#include <climits>

inline constexpr long NSDateComponentUndefined = LONG_MAX;

// Units of a calendar, with the platform's values; combine them with |.
enum NSCalendarUnit : unsigned long {
    NSCalendarUnitEra = 1UL << 1,
    NSCalendarUnitYear = 1UL << 2,
    NSCalendarUnitMonth = 1UL << 3,
    NSCalendarUnitDay = 1UL << 4,
    NSCalendarUnitHour = 1UL << 5,
    NSCalendarUnitMinute = 1UL << 6,
    NSCalendarUnitSecond = 1UL << 7,
    NSCalendarUnitWeekday = 1UL << 9,
    NSCalendarUnitWeekOfMonth = 1UL << 12,
    NSCalendarUnitWeekOfYear = 1UL << 13,
};

class NSDateComponents : public objc::Object {
    OBJC_CLASS(NSDateComponents, objc::Object)
public:
    long era() const { return era_; }
    long year() const { return year_; }
    long month() const { return month_; }
    long day() const { return day_; }
    long hour() const { return hour_; }
    long minute() const { return minute_; }
    long second() const { return second_; }
    // 1 is Sunday, 7 Saturday.
    long weekday() const { return weekday_; }
    long weekOfMonth() const { return weekOfMonth_; }
    long weekOfYear() const { return weekOfYear_; }

    void setEra(long value) { era_ = value; }
    void setYear(long value) { year_ = value; }
    void setMonth(long value) { month_ = value; }
    void setDay(long value) { day_ = value; }
    void setHour(long value) { hour_ = value; }
    void setMinute(long value) { minute_ = value; }
    void setSecond(long value) { second_ = value; }
    void setWeekday(long value) { weekday_ = value; }
    void setWeekOfMonth(long value) { weekOfMonth_ = value; }
    void setWeekOfYear(long value) { weekOfYear_ = value; }

    // The field of one unit; NSDateComponentUndefined for a unit that has no field here.
    long valueForComponent(unsigned long unit) const;
    void setValueForComponent(long value, unsigned long unit);

private:
    long* field(unsigned long unit);

    long era_ = NSDateComponentUndefined;
    long year_ = NSDateComponentUndefined;
    long month_ = NSDateComponentUndefined;
    long day_ = NSDateComponentUndefined;
    long hour_ = NSDateComponentUndefined;
    long minute_ = NSDateComponentUndefined;
    long second_ = NSDateComponentUndefined;
    long weekday_ = NSDateComponentUndefined;
    long weekOfMonth_ = NSDateComponentUndefined;
    long weekOfYear_ = NSDateComponentUndefined;
};
