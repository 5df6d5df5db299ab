// Faults between the processes: the session bus going away and coming back, the host restarting
// while the daemon writes the city file, and a plug-in that crashes the host while it is drawn.
// The daemon's code runs in this process on the virtual clock; the host is the real program
// under its supervisor, with a probe that writes the weather sentence at each
// "VTdidUpdateWeather" it hears (tests/springboard/host_probe.cpp).
#include "host_fixture.h"

#include "common/support_paths.h"
#include "daemon/weather_updater_helper.h"
#include "foundation/clock.h"
#include "foundation/runloop.h"
#include "location/device_location.h"
#include "support/support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A session bus at a fixed address, which can be stopped and started again there.
class RestartableBus {
public:
    explicit RestartableBus(const std::string& folder) : address_("unix:path=" + folder + "/bus") { start(); }
    ~RestartableBus() { stop(); }

    const std::string& address() const { return address_; }
    void start()
    {
        const std::string listen = "--address=" + address_;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", listen.c_str(), nullptr);
            ::_exit(127);
        }
        // Ready once a client can talk to it.
        const std::string probe = "DBUS_SESSION_BUS_ADDRESS=" + address_ +
                                  " dbus-send --session --type=signal /x x.y.z >/dev/null 2>&1";
        for (int tries = 0; tries < 100 && std::system(probe.c_str()) != 0; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    void stop()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    std::string address_;
    pid_t pid_ = -1;
};

class ProcessFaultTest : public reliability::HostTest {
protected:
    ProcessFaultTest()
    {
        const std::string probe = "/Library/MobileSubstrate/DynamicLibraries/HostProbe";
        fs::copy_file(testsupport::builtLibrary("libspringboard_host_probe.so"), device.host(probe + ".dylib"));
        fs::copy_file(device.host("/Library/MobileSubstrate/DynamicLibraries/Vantorel.plist"),
                      device.host(probe + ".plist"));
        foundation::useVirtualClock(1765200000);
        location::setLocationServicesEnabled(true);
        location::setDevicePosition({48.5, 9.25});
        location::setFixLatency(1);
        location::setGeocodeLatency(1);
        ::setenv("VANTOREL_WEATHER_SERVICE", "offline", 1);
        vantoreld::weatherUpdater = nullptr;
    }
    ~ProcessFaultTest() override
    {
        vantoreld::weatherUpdater = nullptr;
        foundation::useRealClock();
    }

    // The sentences the host's probe wrote, once there are at least `count` (or after the timeout).
    std::vector<std::string> sentences(std::size_t count, double timeoutSeconds = 10) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
        std::vector<std::string> lines;
        do {
            lines.clear();
            std::ifstream in(device.host("/var/tmp/HostProbe.sentences"));
            for (std::string line; std::getline(in, line);)
                lines.push_back(line);
            if (lines.size() >= count)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (std::chrono::steady_clock::now() < deadline);
        return lines;
    }

    // One tick of the daemon's timer: the offline service answers on a later pass.
    static void tick()
    {
        foundation::advanceClock(vantoreld::UpdateInterval);
        NSRunLoop::mainRunLoop()->runForSeconds(0.05);
    }

    static std::string readyPid(testsupport::ChildProcess& host)
    {
        const std::string line = host.readLine(30).value_or("");
        EXPECT_TRUE(line.starts_with("ready ")) << line;
        return line.substr(std::min<std::size_t>(6, line.size()));
    }
};

} // namespace

// While the bus is gone the host hears nothing and the daemon's notice is lost; once it is back
// at its address, both find it again by themselves: the host hears a notice and a respring, the
// daemon's next update reaches the host.
TEST_F(ProcessFaultTest, HostAndDaemonFindTheBusAgainWhenItComesBack)
{
    RestartableBus bus(device.path());
    ::setenv("DBUS_SESSION_BUS_ADDRESS", bus.address().c_str(), 1);
    auto host = startHost(true);
    auto daemon = vantoreld::startDaemon();
    tick();
    ASSERT_EQ(sentences(1).size(), 1u);

    bus.stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    tick(); // written, but its notice goes nowhere
    EXPECT_EQ(host->ask("layout"), "ok"); // the host is still there
    bus.start();

    // The host listens again within a few seconds of the bus coming back.
    std::size_t heard = 1;
    for (int tries = 0; tries < 50 && heard < 2; ++tries) {
        ASSERT_TRUE(reliability::post("VTdidUpdateWeather"));
        heard = sentences(2, 0.2).size();
    }
    EXPECT_EQ(heard, 2u) << "the host never heard the bus again";
    std::this_thread::sleep_for(std::chrono::milliseconds(1200)); // past the daemon's retry time
    tick();
    EXPECT_EQ(sentences(3).size(), 3u) << "the daemon's update did not reach the host";

    ASSERT_TRUE(reliability::post("RespringVT"));
    readyPid(*host);
    EXPECT_EQ(host->ask("quit"), "ok");
    EXPECT_EQ(host->wait(), 0);
}

// The host is restarted again and again while the daemon keeps replacing the city file: every
// host reads a whole file (each sentence it makes has a temperature and a condition word), no
// temporary is left, and the file is whole at the end.
TEST_F(ProcessFaultTest, TheHostRestartingWhileTheDaemonWritesReadsOnlyWholeFiles)
{
    auto host = startHost(true, {"VANTOREL_WEATHER_CELSIUS=1"});
    auto daemon = vantoreld::startDaemon();
    tick();
    int restarts = 0;
    for (int round = 0; round < 8; ++round) {
        ASSERT_TRUE(reliability::post("RespringVT"));
        for (int n = 0; n < 5; ++n)
            tick(); // written and announced while the host restarts
        readyPid(*host);
        ++restarts;
        tick();
        EXPECT_EQ(host->ask("layout"), "ok");
    }
    const std::regex whole("It's -?[0-9]+(\\.[0-9]+)?\u00B0 C and [A-Z][A-Za-z ]+ currently\\.");
    const auto heard = sentences(10);
    EXPECT_GE(heard.size(), 10u);
    for (const std::string& sentence : heard)
        EXPECT_TRUE(std::regex_match(sentence, whole)) << sentence;
    for (const auto& entry : fs::directory_iterator(device.host(std::string(vantorel::SupportFolder))))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".City.plist.")) << entry.path();
    EXPECT_EQ(restarts, 8);
    EXPECT_EQ(host->ask("quit"), "ok");
    EXPECT_EQ(host->wait(), 0);
}

// A plug-in that crashes the host when the user picks it on the lock screen (its view crashes
// as it is laid out): the supervisor names the crash in the system log and starts the host again
// at once in safe mode (no injected library, a "Safe Mode" alert on the lock screen); a respring
// brings the dashboard back.
TEST_F(ProcessFaultTest, APluginCrashingTheHostBringsTheLockScreenBackInSafeMode)
{
    installBundle("Crashing", Executable::FaultyPlugin,
                  tweaktest::plist("<key>NSPrincipalClass</key><string>CrashingWidgetView</string>"));
    device.writeFile(std::string(vantorel::SettingsFile), reliability::settingsFile("<key>allWidgets</key><true/>"));
    auto host = startHost(true);
    EXPECT_EQ(host->ask("layout"), "ok");
    const std::string dashboard = host->ask("state");
    EXPECT_TRUE(dashboard.starts_with("state items=0 ")) << dashboard;
    EXPECT_EQ(dashboard.find("labels=[]"), std::string::npos) << dashboard;

    // The chooser's tile of the plug-in: the parent of the label naming it.
    EXPECT_EQ(host->ask(kTapWidgets), "ok");
    const std::string listed = host->ask("views");
    const auto views = nlohmann::json::parse(listed.substr(6, listed.size() - 9));
    std::string tapTile;
    for (const auto& view : views)
        if (view.value("text", "") == "Crashing") {
            const auto& tile = views[view["parent"].get<std::size_t>()];
            tapTile = "tap " + std::to_string(tile["x"].get<double>() + tile["w"].get<double>() / 2) + " " +
                      std::to_string(tile["y"].get<double>() + tile["h"].get<double>() / 2);
        }
    ASSERT_FALSE(tapTile.empty()) << listed;

    host->send(tapTile); // the plug-in's view is laid out, and crashes the host: no answer
    const std::string safe = host->readLine(30).value_or("");
    ASSERT_TRUE(safe.starts_with("ready ")) << safe;
    const std::string state = host->ask("state");
    EXPECT_TRUE(state.starts_with("state items=1 ")) << state;
    EXPECT_NE(state.find("labels=[]"), std::string::npos) << state;
    EXPECT_EQ(host->ask("snapshot " + device.host("/var/tmp/safe_mode.png")), "ok");
    const auto log = systemLog();
    const auto has = [&](const std::string& text) {
        return std::any_of(log.begin(), log.end(), [&](const std::string& line) { return line.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(has("springboard crashed (signal 6, Aborted); starting it again in safe mode"));
    EXPECT_TRUE(has("springboard: safe mode after a crash; no injected library is loaded"));

    EXPECT_EQ(host->ask("relaunch"), "ok");
    readyPid(*host);
    EXPECT_EQ(host->ask("layout"), "ok");
    EXPECT_EQ(host->ask("state"), dashboard);
    EXPECT_EQ(host->ask("quit"), "ok");
    EXPECT_EQ(host->wait(), 0);
}
