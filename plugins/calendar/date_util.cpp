#include "date_util.h"

#include "foundation/calendar.h"
#include "foundation/date.h"
#include "foundation/date_formatter.h"
#include "foundation/locale.h"

#include <array>
#include <cstdio>

OBJC_REGISTER(DateUtil,
    c.classMethod<&DateUtil::getCurrentDate>("getCurrentDate");
    c.classMethod<&DateUtil::getCurrentMonth>("getCurrentMonth");
    c.classMethod<&DateUtil::getCurrentYear>("getCurrentYear");
    c.classMethod<&DateUtil::getCurrentDay>("getCurrentDay");
    c.classMethod<&DateUtil::getCurrentDateString>("getCurrentDateString");
    c.classMethod<&DateUtil::getMonthString>("getMonthString:");
    c.classMethod<&DateUtil::getDayString>("getDayString:");
    c.classMethod<&DateUtil::getDaysInMonthYear>("getDaysInMonth:year:");
    c.classMethod<&DateUtil::getDayOfDateMonthYear>("getDayOfDate:month:year:");)

namespace {

constexpr std::array<const char*, 12> kMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                                  "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr std::array<int, 12> kMonthLengths{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

std::shared_ptr<NSDateFormatter> englishGregorianFormatter(const char* pattern)
{
    auto formatter = std::make_shared<NSDateFormatter>();
    formatter->setLocale(NSLocale::localeWithLocaleIdentifier("en_US"));
    formatter->setCalendar(NSCalendar::calendarWithIdentifier(NSCalendarIdentifierGregorian));
    formatter->setDateFormat(pattern);
    return formatter;
}

std::shared_ptr<NSString> formatNow(const char* pattern)
{
    return NSStr(englishGregorianFormatter(pattern)->stringFromDate(NSDate::date()));
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// The weekday (0 = Sunday) of a real date, from the calendar's fields. Noon is asked for, so a
// zone that skips its midnight still has the instant.
int weekdayFromCalendar(int day, int month, int year)
{
    auto calendar = NSCalendar::calendarWithIdentifier(NSCalendarIdentifierGregorian);
    auto fields = std::make_shared<NSDateComponents>();
    fields->setYear(year);
    fields->setMonth(month);
    fields->setDay(day);
    fields->setHour(12);
    const long weekday = calendar->component(NSCalendarUnitWeekday, calendar->dateFromComponents(fields));
    return weekday >= 1 && weekday <= 7 ? static_cast<int>(weekday - 1) : -1;
}

} // namespace

std::shared_ptr<NSString> DateUtil::getCurrentDate() { return formatNow("dd"); }
std::shared_ptr<NSString> DateUtil::getCurrentMonth() { return formatNow("MM"); }
std::shared_ptr<NSString> DateUtil::getCurrentYear() { return formatNow("yyyy"); }

std::shared_ptr<NSString> DateUtil::getCurrentDay()
{
    auto formatter = std::make_shared<NSDateFormatter>();
    formatter->setFormatterBehavior(NSDateFormatterBehavior10_4);
    formatter->setLocale(NSLocale::localeWithLocaleIdentifier("en_US"));
    formatter->setCalendar(NSCalendar::calendarWithIdentifier(NSCalendarIdentifierGregorian));
    formatter->setDateFormat("EEEE");
    return NSStr(formatter->stringFromDate(NSDate::date()));
}

std::shared_ptr<NSString> DateUtil::getCurrentDateString()
{
    return NSStr(getCurrentMonth()->string() + "/" + getCurrentDate()->string() + "/" + getCurrentYear()->string());
}

std::shared_ptr<NSString> DateUtil::getMonthString(int month)
{
    if (month < 1 || month > 12)
        return nullptr;
    return NSStr(kMonthNames[static_cast<std::size_t>(month - 1)]);
}

std::shared_ptr<NSString> DateUtil::getDayString(int weekday)
{
    if (weekday < 0 || weekday > 6)
        return nullptr;
    return NSStr(kDayNames[static_cast<std::size_t>(weekday)]);
}

int DateUtil::getDaysInMonthYear(int month, int year)
{
    if (month < 1 || month > 12)
        return 0;
    if (month == 2 && isLeapYear(year))
        return 29;
    return kMonthLengths[static_cast<std::size_t>(month - 1)];
}

std::shared_ptr<NSString> DateUtil::getDayOfDateMonthYear(int day, int month, int year)
{
    char text[48];
    std::snprintf(text, sizeof text, "%04i-%02i-%02i", year, month, day);
    const std::shared_ptr<NSDate> midnight = englishGregorianFormatter("yyyy-MM-dd")->dateFromString(text);
    if (midnight) {
        auto names = std::make_shared<NSDateFormatter>();
        names->setLocale(NSLocale::localeWithLocaleIdentifier("en_US"));
        names->setDateFormat("EEEE");
        return NSStr(names->stringFromDate(midnight));
    }
    // A real date whose local midnight the zone skips (clocks moved forward at midnight) does
    // not parse; its weekday still exists.
    if (day < 1 || day > getDaysInMonthYear(month, year))
        return nullptr;
    return getDayString(weekdayFromCalendar(day, month, year));
}
