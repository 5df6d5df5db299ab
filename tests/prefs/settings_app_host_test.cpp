// The Settings program and the lock-screen host as separate processes on the test's own bus
// (support/private_bus.h):
// a change made in the Settings application reaches the running host's library, and the restart
// it offers relaunches the host.
#include "support/child_process.h"
#include "support/device_root.h"
#include "support/support.h"

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

class SettingsAppWithHostTest : public testsupport::DeviceRootTest {
protected:
    void SetUp() override
    {
        for (const char* devicePath : {"/Library/MobileSubstrate/DynamicLibraries/Vantorel.dylib",
                                       "/Library/MobileSubstrate/DynamicLibraries/Vantorel.plist",
                                       "/System/Library/SpringBoardPlugins/NowPlayingArtLockScreen.lockbundle/"
                                       "NowPlayingArtLockScreen"}) {
            fs::create_directories(fs::path(device.host(devicePath)).parent_path());
            fs::copy_file(built("device") + devicePath, device.host(devicePath), fs::copy_options::overwrite_existing);
        }
        const std::string bundle = "/Library/PreferenceBundles/Vantorel.bundle";
        fs::create_directories(device.host(bundle));
        fs::copy(built("device") + bundle, device.host(bundle), fs::copy_options::recursive);
        device.makeFolder("/User/Library/Preferences");
        device.makeFolder("/var");

        const std::string marker = "/Library/Application Support/Vantorel/Plugins/Marker.bundle";
        device.makeFolder(marker);
        fs::copy_file(testsupport::builtLibrary("libprefs_test_marker.so"), device.host(marker + "/Marker"));
        device.writeFile(marker + "/Info.plist",
                         "<plist version=\"1.0\"><dict><key>CFBundleExecutable</key><string>Marker</string>"
                         "<key>NSPrincipalClass</key><string>MarkerWidgetView</string></dict></plist>");
    }

    // The process ids that have loaded the marker plug-in, in order.
    std::vector<std::string> loads() const
    {
        std::vector<std::string> pids;
        std::ifstream in(device.host("/var/marker.log"));
        for (std::string line; std::getline(in, line);)
            pids.push_back(line);
        return pids;
    }

    std::vector<std::string> waitForLoads(std::size_t count) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (loads().size() < count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return loads();
    }

    static std::string readyPid(testsupport::ChildProcess& host)
    {
        const std::string line = host.readLine(20).value_or("");
        EXPECT_THAT(line, StartsWith("ready "));
        return line.size() > 6 ? line.substr(6) : "";
    }

    // Runs the Settings program with the commands; its answers.
    static std::vector<std::string> settingsApp(const std::vector<std::string>& commands)
    {
        std::vector<std::string> arguments{built("bin/Preferences")};
        arguments.insert(arguments.end(), commands.begin(), commands.end());
        testsupport::ChildProcess program(arguments);
        std::vector<std::string> answers;
        while (auto line = program.readLine(20))
            answers.push_back(*line);
        EXPECT_EQ(program.wait(), 0);
        return answers;
    }
};

} // namespace

TEST_F(SettingsAppWithHostTest, AChangeReachesTheRunningHostAndTheRestartRelaunchesIt)
{
    testsupport::ChildProcess supervisor({built("bin/springboard-supervisor"), built("bin/springboard")});
    ASSERT_TRUE(supervisor.started());
    const std::string first = readyPid(supervisor);
    EXPECT_TRUE(loads().empty()); // the default widget is not installed here

    // The new widget is stored and announced; the running host's library reloads its settings,
    // which loads the chosen plug-in.
    EXPECT_EQ(settingsApp({"set Widget Marker"}), std::vector<std::string>{"ok"});
    EXPECT_EQ(waitForLoads(1), std::vector<std::string>{first});

    // The restart: a new host process starts, and its library loads the stored choice again.
    EXPECT_EQ(settingsApp({"restart"}), std::vector<std::string>{"ok"});
    const std::string second = readyPid(supervisor);
    EXPECT_NE(second, first);
    EXPECT_EQ(waitForLoads(2), (std::vector<std::string>{first, second}));

    EXPECT_EQ(supervisor.ask("quit"), "ok");
    EXPECT_EQ(supervisor.wait(), 0);
}
