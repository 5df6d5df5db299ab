// The library in the real host program, and beside the real weather daemon, under one bus.
#include "tweak_fixture.h"

#include "common/city_file.h"
#include "common/support_paths.h"
#include "foundation/ns_string.h"
#include "foundation/runloop.h"
#include "springboard/host_process.h"
#include "springboard/springboard.h"
#include "support/child_process.h"
#include "support/support.h"
#include "weather/city.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>

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
        if (!std::getenv("DBUS_SESSION_BUS_ADDRESS"))
            GTEST_SKIP() << "needs a session bus";
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

TEST_F(HostWithLibraryTest, TheDaemonsUpdateReachesTheLibrarysWeatherSentence)
{
    device.makeFolder(std::string(vantorel::SupportFolder));
    EXPECT_EXIT(
        {
            std::string failure;
            void* library = dlopen(built("device/Library/MobileSubstrate/DynamicLibraries/Vantorel.dylib").c_str(),
                                   RTLD_NOW | RTLD_GLOBAL);
            auto* city = library ? static_cast<objc::id*>(dlsym(library, "currentCity")) : nullptr;
            auto* sentence = library ? reinterpret_cast<std::string (*)()>(dlsym(library, "_Z13getTempStringB5cxx11v"))
                                     : nullptr;
            if (!city || !sentence) {
                std::fprintf(stderr, "library not loaded: %s\n", dlerror());
                _exit(1);
            }
            const std::string before = sentence();
            {
                // The daemon ends with this scope, before the process does.
                testsupport::ChildProcess daemon({built("device/usr/bin/vantoreld")});
                const bool updated = NSRunLoop::mainRunLoop()->runUntil([&] { return *city != nullptr; }, 20.0);
                auto read = std::dynamic_pointer_cast<City>(*city);
                const std::string after = sentence();
                if (!updated || !read || !read->temperature())
                    failure = "the library saw no city from the daemon";
                else if (after == before || after.find(read->temperature()->string()) == std::string::npos)
                    failure = "the weather sentence did not change: " + before + " / " + after;
            }
            if (!failure.empty())
                std::fprintf(stderr, "%s\n", failure.c_str());
            _exit(failure.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
