#include "clock_fixture.h"

#include "foundation/calendar.h"
#include "foundation/date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

using ServicesCalendar = ServicesTest;

namespace {
constexpr double kSummerNoonUTC = 1784894400; // 2026-07-24 12:00 UTC, a Friday
}

TEST_F(ServicesCalendar, FieldsOfAnInstantDependOnTheTimeZone)
{
    auto date = NSDate::dateWithTimeIntervalSince1970(kSummerNoonUTC);
    auto utc = NSCalendar::currentCalendar();
    EXPECT_EQ(utc->component(NSCalendarUnitHour, date), 12);

    foundation::setDeviceTimeZone("Europe/Berlin");
    auto berlin = NSCalendar::currentCalendar();
    EXPECT_EQ(berlin->calendarIdentifier(), "gregorian");
    EXPECT_EQ(berlin->component(NSCalendarUnitHour, date), 14); // summer time, +02:00
    EXPECT_EQ(berlin->component(NSCalendarUnitHour, NSDate::dateWithTimeIntervalSince1970(kStart)), 1);
    EXPECT_EQ(utc->component(NSCalendarUnitHour, date), 12); // a calendar keeps the zone it was made with

    auto parts = berlin->components(NSCalendarUnitYear | NSCalendarUnitMonth | NSCalendarUnitDay |
                                        NSCalendarUnitHour | NSCalendarUnitMinute | NSCalendarUnitWeekday,
                                    date);
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->year(), 2026);
    EXPECT_EQ(parts->month(), 7);
    EXPECT_EQ(parts->day(), 24);
    EXPECT_EQ(parts->hour(), 14);
    EXPECT_EQ(parts->minute(), 0);
    EXPECT_EQ(parts->weekday(), 6); // Friday; 1 is Sunday
    EXPECT_EQ(parts->second(), NSDateComponentUndefined);
}

TEST_F(ServicesCalendar, WeekdaysCountFromSunday)
{
    auto cal = NSCalendar::currentCalendar();
    EXPECT_EQ(cal->component(NSCalendarUnitWeekday, NSDate::dateWithTimeIntervalSince1970(kStart)), 5); // Thursday
    EXPECT_EQ(cal->component(NSCalendarUnitWeekday, NSDate::dateWithTimeIntervalSince1970(1772323200)), 1); // Sunday 1 March
    EXPECT_EQ(cal->firstWeekday(), 1);
    cal->setLocale(NSLocale::localeWithLocaleIdentifier("de_DE"));
    EXPECT_EQ(cal->firstWeekday(), 2);
}

TEST_F(ServicesCalendar, FieldsMakeDatesAgain)
{
    foundation::setDeviceTimeZone("Europe/Berlin");
    auto cal = NSCalendar::calendarWithIdentifier("gregorian");
    ASSERT_TRUE(cal);
    auto parts = std::make_shared<NSDateComponents>();
    parts->setYear(2026);
    parts->setMonth(3);
    parts->setDay(1);
    EXPECT_EQ(cal->dateFromComponents(parts)->timeIntervalSince1970(), 1772319600);
    parts->setDay(32 + 28); // days carry over into the next months
    EXPECT_EQ(cal->component(NSCalendarUnitDay, cal->dateFromComponents(parts)), 29);
    EXPECT_EQ(cal->component(NSCalendarUnitMonth, cal->dateFromComponents(parts)), 4);

    auto afternoon = NSDate::dateWithTimeIntervalSince1970(kSummerNoonUTC);
    EXPECT_EQ(cal->startOfDayForDate(afternoon)->timeIntervalSince1970(), kSummerNoonUTC - 14 * 3600);
    EXPECT_FALSE(cal->dateFromComponents(nullptr));
    EXPECT_FALSE(cal->components(NSCalendarUnitDay, nullptr));
    EXPECT_EQ(cal->component(NSCalendarUnitHour, nullptr), NSDateComponentUndefined);
    EXPECT_EQ(cal->component(NSCalendarUnitHour, NSDate::dateWithTimeIntervalSince1970(std::nan(""))),
              NSDateComponentUndefined);
}

TEST_F(ServicesCalendar, OtherCalendarsByIdentifierAndUnknownOnesAreNil)
{
    auto buddhist = NSCalendar::calendarWithIdentifier("buddhist");
    ASSERT_TRUE(buddhist);
    EXPECT_EQ(buddhist->component(NSCalendarUnitYear, NSDate::date()), 2569);
    auto roc = NSCalendar::calendarWithIdentifier("republic-of-china");
    ASSERT_TRUE(roc);
    EXPECT_EQ(roc->component(NSCalendarUnitYear, NSDate::date()), 115);
    EXPECT_FALSE(NSCalendar::calendarWithIdentifier("martian"));
    EXPECT_FALSE(NSCalendar::calendarWithIdentifier(""));
    EXPECT_FALSE(NSCalendar::calendarWithIdentifier("gregorian@calendar=x;'"));
}

TEST_F(ServicesCalendar, TheDeviceZoneComesFromItsSettingThenTZThenUTC)
{
    foundation::setDeviceTimeZone("Asia/Tokyo");
    EXPECT_EQ(NSTimeZone::localTimeZone()->name(), "Asia/Tokyo");
    EXPECT_EQ(NSTimeZone::localTimeZone()->secondsFromGMT(), 9 * 3600);

    const char* runnerTZ = std::getenv("TZ");
    const std::optional<std::string> savedTZ = runnerTZ ? std::optional<std::string>(runnerTZ) : std::nullopt;
    ::unsetenv("VANTOREL_TIMEZONE");
    ::setenv("TZ", ":Europe/Berlin", 1);
    EXPECT_EQ(foundation::deviceTimeZone(), "Europe/Berlin");
    ::setenv("TZ", "/usr/share/zoneinfo/America/New_York", 1);
    EXPECT_EQ(foundation::deviceTimeZone(), "America/New_York");
    ::unsetenv("TZ");
    EXPECT_EQ(foundation::deviceTimeZone(), "UTC");
    if (savedTZ)
        ::setenv("TZ", savedTZ->c_str(), 1);

    foundation::setDeviceTimeZone("Nowhere/Special");
    EXPECT_EQ(NSTimeZone::localTimeZone()->name(), "UTC");
    EXPECT_EQ(NSCalendar::currentCalendar()->component(NSCalendarUnitHour, NSDate::date()), 0);
}

TEST_F(ServicesCalendar, TimeZonesByNameWithTheirOffsets)
{
    auto berlin = NSTimeZone::timeZoneWithName("Europe/Berlin");
    ASSERT_TRUE(berlin);
    EXPECT_EQ(berlin->secondsFromGMTForDate(NSDate::dateWithTimeIntervalSince1970(kStart)), 3600);
    EXPECT_EQ(berlin->secondsFromGMTForDate(NSDate::dateWithTimeIntervalSince1970(kSummerNoonUTC)), 7200);
    EXPECT_TRUE(berlin->isDaylightSavingTimeForDate(NSDate::dateWithTimeIntervalSince1970(kSummerNoonUTC)));
    EXPECT_FALSE(NSTimeZone::timeZoneWithName("Mars/Olympus_Mons"));
    EXPECT_FALSE(NSTimeZone::timeZoneWithName(""));
    EXPECT_EQ(NSTimeZone::timeZoneForSecondsFromGMT(-5400)->secondsFromGMT(), -5400);
    EXPECT_FALSE(NSTimeZone::timeZoneForSecondsFromGMT(90000));
    EXPECT_TRUE(berlin->isEqual(NSTimeZone::timeZoneWithName("Europe/Berlin").get()));

    foundation::setDeviceLocale("de_DE");
    EXPECT_EQ(NSLocale::currentLocale()->localeIdentifier(), "de_DE");
    EXPECT_EQ(objc::alloc<NSLocale>()->localeIdentifier(), "de_DE");
    EXPECT_EQ(NSLocale::localeWithLocaleIdentifier("en_US")->localeIdentifier(), "en_US");
}
