// DateUtil: the calendar's stateless date operations (today's date parts, month and weekday
// names, month lengths, the weekday of a date), in English on the Gregorian calendar and the
// device's time zone. Every call makes its own formatters and calendar: nothing is cached, so
// a change of the device's zone or of the clock shows at the next call.
#pragma once

#include "foundation/ns_string.h"

#include <memory>

class DateUtil : public objc::Object {
    OBJC_CLASS(DateUtil, objc::Object)
public:
    // Today's parts, two digits for day and month ("07", "03"), four for the year.
    static std::shared_ptr<NSString> getCurrentDate();
    static std::shared_ptr<NSString> getCurrentMonth();
    static std::shared_ptr<NSString> getCurrentYear();
    // Today's weekday name ("Saturday").
    static std::shared_ptr<NSString> getCurrentDay();
    // "MM/dd/yyyy", month first.
    static std::shared_ptr<NSString> getCurrentDateString();

    // Month 1 to 12 and weekday 0 (Sunday) to 6; nil outside those ranges.
    static std::shared_ptr<NSString> getMonthString(int month);
    static std::shared_ptr<NSString> getDayString(int weekday);
    // Days of the month, with the full Gregorian leap-year rule; 0 for a month outside 1 to 12.
    static int getDaysInMonthYear(int month, int year);
    // The weekday name of the date; nil for a date that does not exist (30 February, month 13).
    static std::shared_ptr<NSString> getDayOfDateMonthYear(int day, int month, int year);
};
