#include "clock_fixture.h"

#include "foundation/calendar.h"
#include "foundation/date.h"
#include "foundation/date_formatter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::shared_ptr<NSDateFormatter> formatter(const std::string& pattern)
{
    auto f = std::make_shared<NSDateFormatter>();
    f->setLocale(NSLocale::localeWithLocaleIdentifier("en_US"));
    f->setCalendar(NSCalendar::calendarWithIdentifier(NSCalendarIdentifierGregorian));
    f->setDateFormat(pattern);
    return f;
}

// 12-hour text of a "HH:mm" time, the way the forecast tiles show hours.
std::string twelveHour(const std::string& military)
{
    auto date = formatter("HH:mm")->dateFromString(military);
    return formatter("ha")->stringFromDate(date);
}

} // namespace

using ServicesDateFormatter = ServicesTest;

TEST_F(ServicesDateFormatter, PatternsGivePaddedNumbersAndEnglishNames)
{
    foundation::setNow(1772841600); // 2026-03-07 00:00 UTC
    auto today = NSDate::date();
    EXPECT_EQ(formatter("dd")->stringFromDate(today), "07");
    EXPECT_EQ(formatter("MM")->stringFromDate(today), "03");
    EXPECT_EQ(formatter("yyyy")->stringFromDate(today), "2026");
    EXPECT_EQ(formatter("EEEE")->stringFromDate(today), "Saturday");
    EXPECT_EQ(formatter("EEEE")->stringFromDate(NSDate::dateWithTimeIntervalSince1970(kStart)), "Thursday");
    EXPECT_EQ(formatter("MMMM d, yyyy")->stringFromDate(today), "March 7, 2026");

    auto german = formatter("EEEE");
    german->setLocale(NSLocale::localeWithLocaleIdentifier("de_DE"));
    EXPECT_EQ(german->stringFromDate(today), "Samstag");
}

TEST_F(ServicesDateFormatter, FormatsAgainWhateverTheyWroteLast)
{
    // Dates a fraction of a second apart; patterns with and without fractions, and a quoted 'S'.
    const double at = 1772841600.25;
    const struct {
        const char* pattern;
        double later;
        const char* first;
        const char* second;
    } cases[] = {
        {"HH:mm:ss", 0.5, "00:00:00", "00:00:00"},
        {"HH:mm:ss", 1.0, "00:00:00", "00:00:01"},
        {"ss.SSS", 0.5, "00.250", "00.750"},
        {"'S'ss", 0.9, "S00", "S01"},
        {"HH:mm", -0.5, "00:00", "23:59"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        auto f = formatter(c.pattern);
        f->setTimeZone(NSTimeZone::timeZoneWithName("UTC"));
        EXPECT_EQ(f->stringFromDate(NSDate::dateWithTimeIntervalSince1970(at)), c.first);
        EXPECT_EQ(f->stringFromDate(NSDate::dateWithTimeIntervalSince1970(at + c.later)), c.second);
    }
}

TEST_F(ServicesDateFormatter, DatesParseToLocalMidnight)
{
    foundation::setDeviceTimeZone("Europe/Berlin");
    auto parser = formatter("yyyy-MM-dd");
    auto date = parser->dateFromString("2026-03-01");
    ASSERT_TRUE(date);
    EXPECT_EQ(date->timeIntervalSince1970(), 1772319600); // 2026-03-01 00:00 +01:00
    EXPECT_EQ(formatter("EEEE")->stringFromDate(date), "Sunday");
    EXPECT_EQ(formatter("EEEE")->stringFromDate(parser->dateFromString("2026-01-01")), "Thursday");

    auto utc = formatter("yyyy-MM-dd");
    utc->setTimeZone(NSTimeZone::timeZoneWithName("UTC"));
    EXPECT_EQ(utc->dateFromString("2026-03-01")->timeIntervalSince1970(), 1772323200);
}

TEST_F(ServicesDateFormatter, TwentyFourHourTimesBecomeTwelveHourTimes)
{
    EXPECT_EQ(twelveHour("15:00"), "3PM");
    EXPECT_EQ(twelveHour("00:00"), "12AM");
    EXPECT_EQ(twelveHour("12:00"), "12PM");
    EXPECT_EQ(twelveHour("09:30"), "9AM");
    foundation::setDeviceTimeZone("America/New_York"); // the zone does not shift a time of day
    EXPECT_EQ(twelveHour("23:00"), "11PM");
}

TEST_F(ServicesDateFormatter, TextThatIsNoDateParsesToNil)
{
    auto time = formatter("HH:mm");
    EXPECT_FALSE(time->dateFromString("25:99"));
    EXPECT_FALSE(time->dateFromString("24:00"));
    EXPECT_FALSE(time->dateFromString("15:00 and more"));
    EXPECT_FALSE(time->dateFromString(""));
    EXPECT_FALSE(time->dateFromString("noon"));
    EXPECT_FALSE(formatter("yyyy-MM-dd")->dateFromString("2026-02-30"));
    EXPECT_FALSE(formatter("")->dateFromString("2026"));
    EXPECT_EQ(twelveHour("bad"), "");
    EXPECT_EQ(formatter("HH:mm")->stringFromDate(nullptr), "");

    auto lenient = formatter("yyyy-MM-dd");
    lenient->setLenient(true);
    ASSERT_TRUE(lenient->dateFromString("2026-02-30"));
    EXPECT_EQ(formatter("MM-dd")->stringFromDate(lenient->dateFromString("2026-02-30")), "03-02");
}

TEST_F(ServicesDateFormatter, DefaultsAreTheDevicesZoneAndLocale)
{
    auto plain = std::make_shared<NSDateFormatter>();
    plain->setDateFormat("HH EEEE");
    foundation::setDeviceTimeZone("Europe/Berlin");
    EXPECT_EQ(plain->timeZone()->name(), "Europe/Berlin");
    EXPECT_EQ(plain->stringFromDate(NSDate::date()), "01 Thursday");
    foundation::setDeviceLocale("fr_FR");
    EXPECT_EQ(plain->locale()->localeIdentifier(), "fr_FR");
    EXPECT_EQ(plain->stringFromDate(NSDate::date()), "01 jeudi");

    plain->setFormatterBehavior(NSDateFormatterBehavior10_4);
    EXPECT_EQ(plain->formatterBehavior(), 1040);
    EXPECT_EQ(plain->stringFromDate(NSDate::date()), "01 jeudi");
}
