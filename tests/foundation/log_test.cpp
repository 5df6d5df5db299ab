#include "clock_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace objc;
using foundation::format;

namespace {

class Described : public Object {
    OBJC_CLASS(Described, Object)
public:
    std::string description() const override { return "Berlin"; }
};

std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

OBJC_REGISTER(Described)

using ServicesLog = ServicesTest;

TEST_F(ServicesLog, FormatsObjectsNumbersAndText)
{
    auto city = std::make_shared<Described>();
    EXPECT_EQ(format("*** Failed to updated city = %@", city), "*** Failed to updated city = Berlin");
    EXPECT_EQ(format("%@ and %@", id(), nullptr), "(null) and (null)");
    EXPECT_EQ(format("%d|%ld|%i|%lld", 7, -40L, 0, 1234567890123LL), "7|-40|0|1234567890123");
    EXPECT_EQ(format("%f,%.2f,%g", 1.5, 70.666, 0.25), "1.500000,70.67,0.25");
    EXPECT_EQ(format("%s-%s", "plain", std::string("std")), "plain-std");
    EXPECT_EQ(format("%5d|%-5s|%05.1f|%x|%X|%o|%u", 42, "ab", 3.14159, 255, 255, 8, 7u), "   42|ab   |003.1|ff|FF|10|7");
    EXPECT_EQ(format("%c%c 100%%", 'o', 'k'), "ok 100%");
    EXPECT_EQ(format("%f,%f", 48.137154f, 11.576124), "48.137154,11.576124");
}

TEST_F(ServicesLog, FormatIsSafeWithWrongOrMissingArguments)
{
    EXPECT_EQ(format("%@ %@", "only one"), "only one (missing)");
    EXPECT_EQ(format("%d", "text"), "text");
    EXPECT_EQ(format("%s and %@", 12, 2.5), "12 and 2.5");
    EXPECT_EQ(format("%d %x", 2.9, 1e300), "2 1e+300");
    EXPECT_EQ(format("%f", 3), "3.000000");
    EXPECT_EQ(format("no conversions", 1, 2), "no conversions");
    EXPECT_EQ(format("%k stays, so does a trailing %"), "%k stays, so does a trailing %");
    EXPECT_EQ(format("%s", static_cast<const char*>(nullptr)), "(null)");
    EXPECT_EQ(format("%123456789d", 5).size(), 9999u); // widths are capped
}

TEST_F(ServicesLog, EntriesGoToTheSinkAndToTheDeviceLogFileWithTheProcessName)
{
    foundation::log("**** Run Vantoreld");
    NSLog("*** Failed to updated city = %@", std::make_shared<Described>());
    foundation::log("two\nlines");

    EXPECT_EQ(foundation::logSink(),
              (std::vector<std::string>{"**** Run Vantoreld", "*** Failed to updated city = Berlin", "two\nlines"}));
    auto lines = readLines(device.host("/var/log/vantorel.log"));
    ASSERT_EQ(lines.size(), 3u);
    const std::string tail = std::string(program_invocation_short_name) + "[" + std::to_string(getpid()) + "]: ";
    EXPECT_EQ(lines[0], "2026-01-01T00:00:00.000Z " + tail + "**** Run Vantoreld");
    EXPECT_EQ(lines[2], "2026-01-01T00:00:00.000Z " + tail + "two\\nlines");

    foundation::clearLogSink();
    EXPECT_TRUE(foundation::logSink().empty());
}

TEST_F(ServicesLog, LinesFromManyThreadsStayWhole)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 50; ++i)
                NSLog("thread %d line %d", t, i);
        });
    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ(foundation::logSink().size(), 200u);
    auto lines = readLines(device.host("/var/log/vantorel.log"));
    ASSERT_EQ(lines.size(), 200u);
    const std::string tail = std::string(program_invocation_short_name) + "[" + std::to_string(getpid()) + "]: ";
    std::set<std::pair<int, int>> seen;
    for (const auto& line : lines) {
        const auto at = line.find(tail);
        ASSERT_EQ(at, 25u) << line; // after the timestamp and its blank
        int thread = -1, number = -1;
        char rest = 0;
        ASSERT_EQ(std::sscanf(line.c_str() + at + tail.size(), "thread %d line %d%c", &thread, &number, &rest), 2) << line;
        seen.emplace(thread, number);
    }
    EXPECT_EQ(seen.size(), 200u);
}

TEST_F(ServicesLog, ADeviceWithoutAWritableLogFolderStillLogs)
{
    device.writeFile("/var/log", "a file where the folder should be");
    foundation::log("still here");
    EXPECT_EQ(foundation::logSink(), std::vector<std::string>{"still here"});
}
