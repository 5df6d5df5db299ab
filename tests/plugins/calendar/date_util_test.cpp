#include "calendar_fixture.h"
#include "date_util.h"

#include "foundation/date_formatter.h"
#include "foundation/locale.h"

#include <gtest/gtest.h>

namespace {

std::string text(const std::shared_ptr<NSString>& s) { return s ? s->string() : "(nil)"; }

} // namespace

TEST_F(CalendarTest, DateUtilTablesAreEnglishAndFollowTheFullLeapYearRule)
{
    const struct {
        int month;
        const char* name;
    } months[] = {{1, "January"}, {2, "February"}, {5, "May"}, {12, "December"}, {0, "(nil)"}, {13, "(nil)"}};
    for (const auto& row : months)
        EXPECT_EQ(text(DateUtil::getMonthString(row.month)), row.name) << row.month;

    const struct {
        int weekday;
        const char* name;
    } days[] = {{0, "Sunday"}, {3, "Wednesday"}, {6, "Saturday"}, {-1, "(nil)"}, {7, "(nil)"}};
    for (const auto& row : days)
        EXPECT_EQ(text(DateUtil::getDayString(row.weekday)), row.name) << row.weekday;

    const struct {
        int month, year, days;
    } lengths[] = {{2, 2024, 29}, {2, 2026, 28}, {2, 2000, 29}, {2, 1900, 28}, {2, 2100, 28}, {4, 2026, 30},
                   {12, 2026, 31}, {1, 2026, 31}, {0, 2026, 0},   {13, 2026, 0},  {-5, 2026, 0}};
    for (const auto& row : lengths)
        EXPECT_EQ(DateUtil::getDaysInMonthYear(row.month, row.year), row.days) << row.month << "/" << row.year;

    // The runtime reaches the same class methods.
    EXPECT_EQ(text(objc::msgSend<std::shared_ptr<NSString>>(DateUtil::class_(), "getMonthString:"_sel, 2)), "February");
}

TEST_F(CalendarTest, DateUtilGivesTheWeekdayOfRealDatesOnly)
{
    const struct {
        const char* zone;
        int day, month, year;
        const char* weekday;
    } rows[] = {
        {"Europe/Berlin", 1, 1, 2026, "Thursday"},  {"Europe/Berlin", 1, 3, 2026, "Sunday"},
        {"Europe/Berlin", 29, 2, 2024, "Thursday"}, {"Europe/Berlin", 1, 1, 1900, "Monday"},
        {"Pacific/Kiritimati", 1, 3, 2026, "Sunday"},
        // Paraguay moved its clocks from midnight to one o'clock that day: no local midnight.
        {"America/Asuncion", 1, 10, 2023, "Sunday"}, {"America/Asuncion", 1, 11, 2023, "Wednesday"},
        {"Europe/Berlin", 30, 2, 2026, "(nil)"},    {"Europe/Berlin", 29, 2, 2100, "(nil)"},
        {"Europe/Berlin", 1, 13, 2026, "(nil)"},    {"Europe/Berlin", 0, 3, 2026, "(nil)"},
    };
    for (const auto& row : rows) {
        foundation::setDeviceTimeZone(row.zone);
        EXPECT_EQ(text(DateUtil::getDayOfDateMonthYear(row.day, row.month, row.year)), row.weekday)
            << row.zone << " " << row.year << "-" << row.month << "-" << row.day;
    }

    // The parse alone finds no midnight on that day: the weekday comes from the calendar.
    foundation::setDeviceTimeZone("America/Asuncion");
    NSDateFormatter parser;
    parser.setLocale(NSLocale::localeWithLocaleIdentifier("en_US"));
    parser.setDateFormat("yyyy-MM-dd");
    EXPECT_FALSE(parser.dateFromString("2023-10-01"));
}

TEST_F(CalendarTest, DateUtilReadsTodayInTheDevicesZone)
{
    const struct {
        double instant;
        const char* zone;
        const char *date, *month, *year, *day, *joined;
    } rows[] = {
        {k7March2026, "Europe/Berlin", "07", "03", "2026", "Saturday", "03/07/2026"},
        // 23:30 UTC is already the next day in Berlin, not yet in New York.
        {k7March2026 + 11.5 * 3600, "Europe/Berlin", "08", "03", "2026", "Sunday", "03/08/2026"},
        {k7March2026 + 11.5 * 3600, "America/New_York", "07", "03", "2026", "Saturday", "03/07/2026"},
        {1767225600.0 - 1, "UTC", "31", "12", "2025", "Wednesday", "12/31/2025"},
    };
    for (const auto& row : rows) {
        foundation::setNow(row.instant);
        foundation::setDeviceTimeZone(row.zone);
        EXPECT_EQ(text(DateUtil::getCurrentDate()), row.date) << row.zone;
        EXPECT_EQ(text(DateUtil::getCurrentMonth()), row.month) << row.zone;
        EXPECT_EQ(text(DateUtil::getCurrentYear()), row.year) << row.zone;
        EXPECT_EQ(text(DateUtil::getCurrentDay()), row.day) << row.zone;
        EXPECT_EQ(text(DateUtil::getCurrentDateString()), row.joined) << row.zone;
    }
    foundation::setNow(k7March2026);
    EXPECT_EQ(DateUtil::getCurrentDate()->intValue(), 7);
    EXPECT_EQ(DateUtil::getCurrentMonth()->intValue(), 3);
}
