// The library in the real host program, and beside the real weather daemon, on the test's own
// bus.
#include "tweak_fixture.h"

#include "common/support_paths.h"
#include "springboard/springboard.h"
#include "support/child_process.h"
#include "support/support.h"

#include "fixture_server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;
using ::testing::StartsWith;

namespace {

std::string built(const std::string& relative) { return testsupport::buildDir() + "/" + relative; }

bool post(const std::string& name)
{
    const std::string command =
        "dbus-send --session --type=signal /com/vantorel/DarwinNotify com.vantorel.DarwinNotify.Notify string:" + name;
    return std::system(command.c_str()) == 0;
}

class HostWithLibraryTest : public tweaktest::ShippedFilesTest {
protected:
    void SetUp() override
    {
        for (const std::string& devicePath :
             {std::string("/Library/MobileSubstrate/DynamicLibraries/Vantorel.dylib"),
              std::string("/Library/MobileSubstrate/DynamicLibraries/Vantorel.plist"),
              std::string(SpringBoard::kNowPlayingPluginPath)}) {
            fs::create_directories(fs::path(device.host(devicePath)).parent_path());
            fs::copy_file(built("device") + devicePath, device.host(devicePath), fs::copy_options::overwrite_existing);
        }
    }

    static std::string readyPid(testsupport::ChildProcess& host)
    {
        const std::string line = host.readLine().value_or("");
        EXPECT_THAT(line, StartsWith("ready "));
        return line.size() > 6 ? line.substr(6) : "";
    }

    // Respring through the library: a new host process starts, and with it the library.
    void expectRespringRestartsTheHost()
    {
        testsupport::ChildProcess supervisor({built("bin/springboard-supervisor"), built("bin/springboard")});
        ASSERT_TRUE(supervisor.started());
        const std::string first = readyPid(supervisor);
        EXPECT_THAT(supervisor.ask("state"), StartsWith("state items=0 "));
        ASSERT_TRUE(post("RespringVT"));
        const std::string second = readyPid(supervisor);
        EXPECT_NE(second, first);
        // The new host's library observes again.
        ASSERT_TRUE(post("RespringVT"));
        EXPECT_NE(readyPid(supervisor), second);
        EXPECT_EQ(supervisor.ask("quit"), "ok");
        EXPECT_EQ(supervisor.wait(), 0);
    }
};

} // namespace

TEST_F(HostWithLibraryTest, RespringRestartsTheHostAndTheLibraryStartsAgain) { expectRespringRestartsTheHost(); }

TEST_F(HostWithLibraryTest, RespringStillRestartsTheHostWhenTheLibraryIsDisabled)
{
    writeSettings("<key>enabled</key><false/>");
    expectRespringRestartsTheHost();
}

namespace {

// A forecast answer: 21.5 °C under a clear day sky (the platform's condition 32, sunny).
constexpr const char* kForecast = R"({"current":{"time":"2026-05-14T14:15","temperature_2m":21.5,"weather_code":0,"is_day":1},
"hourly":{"time":["2026-05-14T14:00","2026-05-14T15:00"],"temperature_2m":[21.5,22.0],"weather_code":[0,1],"is_day":[1,1]}})";

struct SentenceCase {
    const char* language;
    bool celsius;
    const char* sentence;
};

const SentenceCase kSentences[] = {
    {"English", true, "It's 21.5\u00B0 C and Sunny currently."},
    {"English", false, "It's 71\u00B0 F and Sunny currently."},
    {"German", true, "Es sind 21.5\u00B0 C und sonnig im Moment."},
    {"German", false, "Es sind 71\u00B0 F und sonnig im Moment."},
    {"French", true, "Il fait 21.5\u00B0 C et ensoleill\u00E9 actuellement."},
    {"French", false, "Il fait 71\u00B0 F et ensoleill\u00E9 actuellement."},
    {"Spanish", true, "Estamos a 21.5\u00B0 C y soleado en este momento."},
    {"Spanish", false, "Estamos a 71\u00B0 F y soleado en este momento."},
};

class HostWeatherSentenceTest : public HostWithLibraryTest, public ::testing::WithParamInterface<SentenceCase> {
protected:
    // The sentences the probe in the host wrote, waiting up to the timeout for the first.
    std::vector<std::string> probedSentences(double timeoutSeconds) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
        std::vector<std::string> lines;
        while (lines.empty() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::ifstream in(device.host("/var/tmp/HostProbe.sentences"));
            for (std::string line; std::getline(in, line);)
                lines.push_back(line);
        }
        return lines;
    }
};

} // namespace

// The daemon writes the city file and announces it; the host, which loaded the library and has
// the weather framework as the phone's host has it, composes the file's weather in the user's
// language and unit.
TEST_P(HostWeatherSentenceTest, TheHostsSentenceShowsTheWeatherTheDaemonWrote)
{
    const SentenceCase& c = GetParam();
    writeSettings(std::string("<key>localizationFolder</key><string>") + c.language + "</string>");
    device.makeFolder(std::string(vantorel::SupportFolder));
    const std::string probe = "/Library/MobileSubstrate/DynamicLibraries/HostProbe";
    fs::copy_file(testsupport::builtLibrary("libspringboard_host_probe.so"), device.host(probe + ".dylib"));
    device.writeFile(probe + ".plist", tweaktest::plist("<key>Filter</key><dict><key>Bundles</key><array>"
                                             "<string>com.apple.springboard</string></array></dict>"));
    weathertest::FixtureServer service;
    service.answer(200, kForecast);

    testsupport::ChildProcess host({built("bin/springboard")}, {std::string("VANTOREL_WEATHER_CELSIUS=") + (c.celsius ? "1" : "0")});
    ASSERT_TRUE(host.started());
    readyPid(host);
    testsupport::ChildProcess daemon({built("device/usr/bin/vantoreld")},
                                     {"VANTOREL_WEATHER_SERVICE=open-meteo", "VANTOREL_WEATHER_BASE_URL=" + service.baseURL(),
                                      "VANTOREL_LOCATION=48.5,9.25"});
    ASSERT_TRUE(daemon.started());
    EXPECT_EQ(probedSentences(20), std::vector<std::string>{c.sentence});
    EXPECT_EQ(host.ask("quit"), "ok");
    EXPECT_EQ(host.wait(), 0);
}

INSTANTIATE_TEST_SUITE_P(LanguagesAndUnits, HostWeatherSentenceTest, ::testing::ValuesIn(kSentences),
                         [](const ::testing::TestParamInfo<SentenceCase>& info) {
                             return std::string(info.param.language) + (info.param.celsius ? "Celsius" : "Fahrenheit");
                         });
