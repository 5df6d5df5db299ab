#include "common/city_file.h"
#include "common/support_paths.h"
#include "daemon/weather_updater.h"
#include "daemon/weather_updater_helper.h"
#include "foundation/clock.h"
#include "foundation/log.h"
#include "foundation/notification_center.h"
#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "foundation/runloop.h"
#include "location/device_location.h"
#include "location/location_manager.h"
#include "support/child_process.h"
#include "support/device_root.h"
#include "support/support.h"
#include "weather/city.h"
#include "weather/hourly_forecast.h"

#include "fixture_server.h"
#include "weather_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

long count(const std::string& line)
{
    auto lines = foundation::logSink();
    return std::count(lines.begin(), lines.end(), line);
}

std::shared_ptr<City> cityInFile() { return std::dynamic_pointer_cast<City>(vantorel::readCityFile()); }

std::string text(const std::shared_ptr<NSString>& s) { return s ? s->string() : std::string("<nil>"); }

int posts = 0;
void countPost(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) { ++posts; }

// The "VTdidUpdateWeather" posts delivered to this process after letting the run loop deliver.
int deliveredPosts()
{
    NSRunLoop::mainRunLoop()->runForSeconds(0.3);
    return posts;
}

int startCalls = 0;
void (*previousStart)(objc::Object*, objc::SEL);
void countingStart(objc::Object* self, objc::SEL cmd)
{
    ++startCalls;
    previousStart(self, cmd);
}

class DaemonTest : public testsupport::DeviceRootTest {
protected:
    DaemonTest()
    {
        device.makeFolder(std::string(vantorel::SupportFolder)); // installed with the system
        foundation::useVirtualClock(1765200000); // a December morning
        foundation::clearLogSink();
        unsetenv("VANTOREL_WEATHER_SERVICE");
        location::setLocationServicesEnabled(true);
        location::setDevicePosition({48.5, 9.25});
        location::setFixLatency(1);
        location::setGeocodeLatency(1);
        vantoreld::weatherUpdater = nullptr;
        posts = 0;
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &posts, &countPost,
                                        CFSTR("VTdidUpdateWeather"), nullptr, 0);
    }
    ~DaemonTest() override
    {
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), &posts);
        vantoreld::weatherUpdater = nullptr;
        foundation::useRealClock();
    }
    std::shared_ptr<WeatherUpdaterHelper> helper;
};

} // namespace

TEST_F(DaemonTest, FirstUpdateRunsAtLaunchAndThenEveryFiveMinutes)
{
    helper = vantoreld::startDaemon();
    EXPECT_EQ(count("**** Run Vantoreld"), 1);
    EXPECT_EQ(count("*** Weather Update Timer Started"), 1);
    foundation::advanceClock(5);
    EXPECT_EQ(count("*** Weather Updated"), 1);
    EXPECT_EQ(count("*** Weather update saved to file"), 1);
    EXPECT_EQ(deliveredPosts(), 1);
    auto city = cityInFile();
    ASSERT_TRUE(city);
    EXPECT_TRUE(city->temperature());
    EXPECT_GT(city->hourlyForecasts() ? city->hourlyForecasts()->count() : 0, 0u);
    // No identifier from the service: latitude and longitude stand in.
    EXPECT_EQ(text(city->locationID()), "48.500000,9.250000");

    foundation::advanceClock(290); // 295 s after launch: still one
    EXPECT_EQ(count("*** Weather Updated"), 1);
    foundation::advanceClock(10);
    EXPECT_EQ(count("*** Weather Updated"), 2);
    foundation::advanceClock(600);
    EXPECT_EQ(count("*** Weather Updated"), 4);
}

TEST_F(DaemonTest, ATickWhileStillLocatingAsksForTheLocationAgain)
{
    MSHookMessageEx(CLLocationManager::class_(), "startUpdatingLocation"_sel, &countingStart, &previousStart);
    startCalls = 0;
    location::setFixLatency(400);
    helper = vantoreld::startDaemon();
    EXPECT_EQ(startCalls, 1);
    foundation::advanceClock(300);
    EXPECT_EQ(startCalls, 2);
    EXPECT_EQ(count("*** Weather Updated"), 0);
    foundation::advanceClock(110);
    EXPECT_EQ(count("*** Weather Updated"), 1);
}

TEST_F(DaemonTest, CityIsNamedAfterTheLastFinishedGeocoding)
{
    location::setGeocodeLatency(30); // the weather answer comes first
    helper = vantoreld::startDaemon();
    foundation::advanceClock(5);
    auto first = cityInFile();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->name(), nullptr); // geocoding not finished yet: no name

    location::setDevicePosition({52.52, 13.40}); // Berlin, before the next tick
    foundation::advanceClock(300);
    auto second = cityInFile();
    ASSERT_TRUE(second);
    EXPECT_EQ(text(second->name()), "Reutlingen"); // the previous fix's place
    foundation::advanceClock(300);
    EXPECT_EQ(text(cityInFile()->name()), "Berlin");
}

TEST_F(DaemonTest, GeocodingFailureKeepsThePreviousName)
{
    helper = vantoreld::startDaemon();
    foundation::advanceClock(5);
    location::setDevicePosition({0.0, -30.0}); // the middle of the Atlantic
    foundation::advanceClock(300);
    EXPECT_EQ(count("Geocode failed with error: Error Domain=kCLErrorDomain Code=8 \"The operation couldn't be "
                    "completed. (kCLErrorDomain error 8.)\""),
              1);
    EXPECT_EQ(text(vantoreld::weatherUpdater->cityName), "Reutlingen");
}

TEST_F(DaemonTest, LocationServicesOffMeansNoUpdateAndNoFile)
{
    location::setLocationServicesEnabled(false);
    helper = vantoreld::startDaemon();
    foundation::advanceClock(1200);
    EXPECT_EQ(count("*** Weather Updated"), 0);
    EXPECT_FALSE(std::filesystem::exists(device.host(std::string(vantorel::CityFile))));
}

TEST_F(DaemonTest, FailedWritePostsNothingAndLogsNoSaveLine)
{
    // The file's place is taken by a folder: the atomic replace cannot succeed.
    device.writeFile(std::string(vantorel::CityFile) + "/previous", "kept");
    helper = vantoreld::startDaemon();
    foundation::advanceClock(5);
    EXPECT_EQ(count("*** Weather Updated"), 1);
    EXPECT_EQ(count("*** Weather update saved to file"), 0);
    EXPECT_EQ(deliveredPosts(), 0);
    EXPECT_TRUE(std::filesystem::exists(device.host(std::string(vantorel::CityFile) + "/previous")));
    const auto folder = std::filesystem::path(device.host(std::string(vantorel::CityFile))).parent_path();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator{}), 1)
        << "no temporary file is left behind";
}

namespace {

bool runUntilLogged(const std::string& line, long times)
{
    return NSRunLoop::mainRunLoop()->runUntil([&] { return count(line) >= times; }, 30.0);
}

} // namespace

TEST_F(DaemonTest, WritesTheCityTheWeatherServiceAnswered)
{
    weathertest::FixtureServer server;
    server.answer(200, weathertest::fixture("forecast_good.json"));
    weathertest::ScopedEnvironment service("VANTOREL_WEATHER_SERVICE", "open-meteo");
    weathertest::ScopedEnvironment base("VANTOREL_WEATHER_BASE_URL", server.baseURL());
    // Left by a daemon killed between writing and renaming.
    const std::string stale = std::string(vantorel::SupportFolder) + "/.City.plist.q1w2e3r4";
    device.writeFile(stale, "<?xml version=");
    helper = vantoreld::startDaemon();
    foundation::advanceClock(2);
    ASSERT_TRUE(runUntilLogged("*** Weather update saved to file", 1));
    EXPECT_FALSE(std::filesystem::exists(device.host(stale)));
    auto city = cityInFile();
    ASSERT_TRUE(city);
    EXPECT_EQ(text(city->temperature()), "21.5");
    EXPECT_EQ(city->conditionCode(), 30);
    ASSERT_TRUE(city->hourlyForecasts());
    ASSERT_EQ(city->hourlyForecasts()->count(), 12u);
    auto first = std::dynamic_pointer_cast<HourlyForecast>(city->hourlyForecasts()->objectAtIndex(0));
    EXPECT_EQ(text(first->time()), "14:00");
    EXPECT_EQ(text(first->detail()), "22\u00B0");
    EXPECT_EQ(text(city->locationID()), "48.500000,9.250000");
}

TEST_F(DaemonTest, FailedFetchLeavesTheFileAndTheNextTickTriesAgain)
{
    weathertest::FixtureServer server;
    server.answer(500, "{}");
    weathertest::ScopedEnvironment service("VANTOREL_WEATHER_SERVICE", "open-meteo");
    weathertest::ScopedEnvironment base("VANTOREL_WEATHER_BASE_URL", server.baseURL());
    device.writeFile(std::string(vantorel::CityFile), "previous");
    helper = vantoreld::startDaemon();
    foundation::advanceClock(2);
    ASSERT_TRUE(NSRunLoop::mainRunLoop()->runUntil(
        [] {
            for (auto& line : foundation::logSink())
                if (line.starts_with("*** Failed to updated city = "))
                    return true;
            return false;
        },
        30.0));
    EXPECT_EQ(count("*** Weather Updated"), 0);
    EXPECT_EQ(deliveredPosts(), 0);
    std::ifstream kept(device.host(std::string(vantorel::CityFile)));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "previous");

    server.answer(200, weathertest::fixture("forecast_good.json"));
    foundation::advanceClock(300);
    EXPECT_TRUE(runUntilLogged("*** Weather update saved to file", 1));
    EXPECT_EQ(server.requests().size(), 2u);
}

namespace {

std::string replaced(std::string text, const std::string& what, const std::string& with)
{
    const std::size_t at = text.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    return at == std::string::npos ? text : text.replace(at, what.size(), with);
}

std::string fileContents(const testsupport::TemporaryDeviceRoot& device)
{
    std::ifstream in(device.host(std::string(vantorel::CityFile)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

long failedLines()
{
    auto lines = foundation::logSink();
    return std::count_if(lines.begin(), lines.end(),
                         [](const std::string& line) { return line.starts_with("*** Failed to updated city = "); });
}

} // namespace

TEST_F(DaemonTest, ImplausibleWeatherIsAFailedFetchAndImplausibleHoursAreLeftOut)
{
    const std::string good = weathertest::fixture("forecast_good.json");
    const std::string current = "\"temperature_2m\":21.5,";
    const struct {
        const char* what;
        std::string body;
        std::size_t hours; // 0: a failed fetch
    } cases[] = {
        {"current 1e308", replaced(good, current, "\"temperature_2m\":1e308,"), 0},
        {"current -1e308", replaced(good, current, "\"temperature_2m\":-1e308,"), 0},
        {"current 70.5", replaced(good, current, "\"temperature_2m\":70.5,"), 0},
        {"an hour of 1e300", replaced(good, "22.8,", "1e300,"), 11},
        {"an hour at 99:99", replaced(good, "\"2024-05-14T16:00\"", "\"2024-05-14T99:99\""), 11},
        {"an hour at 14:6x", replaced(good, "\"2024-05-14T15:00\"", "\"2024-05-14T14:6x\""), 11},
        {"an hour with a control character", replaced(good, "\"2024-05-14T18:00\"", "\"2024-05-14T18:0\\u0007\""), 11},
        {"an hour with a cut UTF-8 sequence", replaced(good, "\"2024-05-14T19:00\"", "\"2024-05-14T19:0\xC3\""), 11},
        {"no plausible hour", R"({"current":{"time":"2024-05-14T14:15","temperature_2m":20,"weather_code":0},
           "hourly":{"time":["2024-05-14T14:00"],"temperature_2m":[1e300],"weather_code":[0]}})", 0},
    };
    weathertest::FixtureServer server;
    weathertest::ScopedEnvironment service("VANTOREL_WEATHER_SERVICE", "open-meteo");
    weathertest::ScopedEnvironment base("VANTOREL_WEATHER_BASE_URL", server.baseURL());
    device.writeFile(std::string(vantorel::CityFile), "previous");
    bool started = false;
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        server.answer(200, row.body);
        const std::string before = fileContents(device);
        const long saved = count("*** Weather update saved to file"), failed = failedLines();
        const int postsBefore = posts; // all delivered by the end of the previous row
        if (!started) {
            helper = vantoreld::startDaemon();
            started = true;
        }
        foundation::advanceClock(2);
        ASSERT_TRUE(NSRunLoop::mainRunLoop()->runUntil(
            [&] { return count("*** Weather update saved to file") > saved || failedLines() > failed; }, 30.0));
        if (row.hours == 0) {
            EXPECT_EQ(count("*** Weather update saved to file"), saved);
            EXPECT_EQ(deliveredPosts(), postsBefore);
            EXPECT_EQ(fileContents(device), before);
        } else {
            EXPECT_EQ(deliveredPosts(), postsBefore + 1);
            auto city = cityInFile();
            ASSERT_TRUE(city && city->hourlyForecasts());
            EXPECT_EQ(text(city->temperature()), "21.5");
            EXPECT_EQ(city->hourlyForecasts()->count(), row.hours);
            for (const objc::id& entry : *city->hourlyForecasts()) {
                auto hour = std::dynamic_pointer_cast<HourlyForecast>(entry);
                const std::string time = text(hour->time()), detail = text(hour->detail());
                EXPECT_TRUE(time.size() == 5 && time[2] == ':' && time < "24:00" && time.substr(3) < "60") << time;
                EXPECT_LE(detail.size(), 5u) << detail; // "-12°" at most
            }
        }
        foundation::advanceClock(298); // on to the next tick
    }
}

TEST_F(DaemonTest, AnAnswerOlderThanTheSavedWeatherIsDropped)
{
    const std::string newer = weathertest::fixture("forecast_good.json");
    const std::string older = replaced(newer, "\"temperature_2m\":21.5,", "\"temperature_2m\":10,");
    weathertest::FixtureServer server;
    weathertest::ScopedEnvironment service("VANTOREL_WEATHER_SERVICE", "open-meteo");
    weathertest::ScopedEnvironment base("VANTOREL_WEATHER_BASE_URL", server.baseURL());
    weathertest::ScopedEnvironment timeout("VANTOREL_WEATHER_TIMEOUT", "60");
    server.neverAnswer(); // the first request hangs
    helper = vantoreld::startDaemon();
    foundation::advanceClock(2);
    // Nothing in this process marks the request's arrival: look again every tenth of a second.
    for (int tries = 0; tries < 300 && server.requests().size() < 1; ++tries)
        NSRunLoop::mainRunLoop()->runForSeconds(0.1);
    ASSERT_EQ(server.requests().size(), 1u);

    server.answer(200, newer);
    foundation::advanceClock(300);
    ASSERT_TRUE(runUntilLogged("*** Weather update saved to file", 1));
    EXPECT_EQ(text(cityInFile()->temperature()), "21.5");

    server.answerHeld(200, older); // the first request's answer comes last
    ASSERT_TRUE(NSRunLoop::mainRunLoop()->runUntil([] { return !vantoreld::weatherUpdater->isUpdatingWeather(); }, 30.0));
    EXPECT_EQ(count("*** Weather update saved to file"), 1);
    EXPECT_EQ(text(cityInFile()->temperature()), "21.5");
    EXPECT_EQ(deliveredPosts(), 1);

    // Later requests are written as before.
    server.answer(200, older);
    foundation::advanceClock(300);
    ASSERT_TRUE(runUntilLogged("*** Weather update saved to file", 2));
    EXPECT_EQ(text(cityInFile()->temperature()), "10");
}

// The daemon program draws nothing and fetches nothing over HTTP on the offline service: it
// loads neither the drawing stack nor libcurl (which the Open-Meteo service opens when used).
TEST_F(DaemonTest, TheProgramLoadsNoDrawingStackAndNoHttpLibrary)
{
    testsupport::ChildProcess daemon({testsupport::buildDir() + "/bin/vantoreld"});
    ASSERT_TRUE(daemon.started());
    const std::string log = device.host(foundation::kDeviceLogPath);
    std::string logged;
    for (int wait = 0; wait < 200 && logged.find("*** Weather Updated") == std::string::npos; ++wait) {
        NSRunLoop::mainRunLoop()->runForSeconds(0.05);
        std::ifstream in(log);
        logged.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_NE(logged.find("*** Weather Updated"), std::string::npos) << logged;
    std::ifstream maps("/proc/" + std::to_string(daemon.pid()) + "/maps");
    const std::string mapped((std::istreambuf_iterator<char>(maps)), {});
    for (const char* library : {"libcairo", "libpango", "libX11", "libfontconfig", "libcurl", "libvantorel_uikit"})
        EXPECT_EQ(mapped.find(library), std::string::npos) << library;
}
