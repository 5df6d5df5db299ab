// Scenario lines: what parses, and what a wrong line tells the writer (file, line, expectation).
#include "sim/scenario.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

using sim::parseLine;
using sim::ScenarioError;

TEST(ScenarioTest, EventsParseWithTheirDelayAndArguments)
{
    struct Case {
        const char* line;
        const char* verb;
        const char* text;
        double delay;
    } cases[] = {
        {"post com.apple.MobileSMS Anna | Dinner at eight?", "post", "com.apple.MobileSMS Anna | Dinner at eight?", 0},
        {"+2.5 tap 38 253", "tap", "38 253", 2.5},
        {"  double-tap notifications  ", "double-tap", "notifications", 0},
        {"tap hub:2", "tap", "hub:2", 0},
        {"swipe widget-area 0 -150", "swipe", "widget-area 0 -150", 0},
        {"clock 2026-12-09 07:30", "clock", "2026-12-09 07:30", 0},
        {"clock 23:59", "clock", "23:59", 0},
        {"weather -3.5 snow", "weather", "-3.5 snow", 0},
        {"remove com.apple.mobilemail", "remove", "com.apple.mobilemail", 0},
        {"settings set removeNW on", "settings", "set removeNW on", 0},
        {"+60 snapshot Night, with the away text", "snapshot", "Night, with the away text", 60},
    };
    for (const auto& c : cases) {
        const auto event = parseLine(c.line, "day.txt", 7);
        ASSERT_TRUE(event) << c.line;
        EXPECT_EQ(event->verb, c.verb) << c.line;
        EXPECT_EQ(event->text, c.text) << c.line;
        EXPECT_EQ(event->delay, c.delay) << c.line;
        EXPECT_EQ(event->line, 7);
    }
    EXPECT_FALSE(parseLine("   # a comment", "day.txt", 1));
    EXPECT_FALSE(parseLine("", "day.txt", 2));
}

TEST(ScenarioTest, AWrongLineNamesFileLineAndWhatWasExpected)
{
    struct Case {
        std::string line;
        const char* expected;  // part of the message
    } cases[] = {
        {"dance", "one of the events"},
        {"tap 320 10", "tap <x> <y>"},          // outside the screen
        {"tap -1 10", "tap <x> <y>"},
        {"tap nowhere", "tap <x> <y>"},
        {"tap hub:0", "tap <x> <y>"},
        {"clock 24:00", "clock [YYYY-MM-DD] HH:MM"},
        {"clock 2026-13-01 10:00", "clock [YYYY-MM-DD] HH:MM"},
        {"wait forever", "wait <seconds>"},
        {"wait 1e400", "wait <seconds>"},
        {"weather 1e308 sunny", "weather <degrees"},
        {"weather 20 tornado", "weather <degrees"},
        {"post com.apple.MobileSMS", "post <application id>"},
        {"post ../../etc Anna", "post <application id>"},
        {"screen sideways", "screen on or screen off"},
        {"+ tap 1 1", "a delay"},
        {"+5", "an event after the delay"},
        {"snapshot", "snapshot <caption>"},
        {"post app tab\there", "printable text"},
        {std::string(600, 'x'), "at most 512 characters"},
    };
    for (const auto& c : cases) {
        try {
            parseLine(c.line, "day.txt", 12);
            ADD_FAILURE() << "accepted: " << c.line;
        } catch (const ScenarioError& error) {
            const std::string what = error.what();
            EXPECT_EQ(what.rfind("day.txt:12: expected ", 0), 0u) << what;
            EXPECT_NE(what.find(c.expected), std::string::npos) << c.line << " -> " << what;
        }
    }
}

TEST(ScenarioTest, AFileStopsAtItsFirstWrongLine)
{
    const std::string path = testing::TempDir() + "scenario_test.txt";
    std::ofstream(path) << "# morning\nclock 07:30\n\npost com.apple.MobileSMS Anna\ntap 1000 1000\nhome\n";
    try {
        sim::parseScenario(path);
        ADD_FAILURE() << "accepted a wrong scenario";
    } catch (const ScenarioError& error) {
        EXPECT_NE(std::string(error.what()).find(path + ":5: expected"), std::string::npos) << error.what();
    }
    std::ofstream(path) << "clock 07:30\npost com.apple.MobileSMS Anna\n";
    EXPECT_EQ(sim::parseScenario(path).size(), 2u);
    std::remove(path.c_str());
    EXPECT_THROW(sim::parseScenario(path), ScenarioError);
}

} // namespace
