// The two programs that replace files, each started with the folder of its file full or
// read-only: the weather daemon (city file) and the Settings application (settings file, by a
// switch, a name and a colour). The folder is a small file system of the program's own (a mount
// namespace): real "no space left" and "read-only file system" failures. Every write fails whole:
// the old file stays byte for byte, no temporary is left, and once there is room again the next
// change is stored beside every earlier setting.
#include "host_fixture.h"

#include "common/support_paths.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_number.h"
#include "foundation/property_list.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// How this user gets a mount namespace: as root, one of its own; otherwise inside a user
// namespace. Empty when neither is allowed here.
const std::vector<std::string>& namespacePrefix()
{
    static const std::vector<std::string> prefix = [] {
        const std::vector<std::vector<std::string>> candidates{
            {"/usr/bin/unshare", "--mount", "--propagation", "private"},
            {"/usr/bin/unshare", "--user", "--map-root-user", "--mount", "--propagation", "private"}};
        for (const auto& candidate : candidates) {
            std::string command;
            for (const auto& word : candidate)
                command += word + " ";
            if (std::system((command + "/bin/sh -c 'mount -t tmpfs tmpfs /mnt' 2>/dev/null").c_str()) == 0)
                return candidate;
        }
        return std::vector<std::string>{};
    }();
    return prefix;
}

// Mounts the fault over the folder ($1: "full" or "read-only"), then runs the program.
constexpr const char* kFaultScript = R"(set -e
dir=$1; fault=$2; shift 2
if [ "$fault" = full ]; then
  keep=$(mktemp -d)
  cp -a "$dir"/. "$keep"/
  mount -t tmpfs -o size=128k tmpfs "$dir"
  cp -a "$keep"/. "$dir"/
  rm -rf "$keep"
  dd if=/dev/zero of="$dir/.filler" bs=4096 2>/dev/null || true
else
  mount --bind "$dir" "$dir"
  mount -o remount,bind,ro "$dir"
fi
exec "$@")";

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Entries of the folder named after the file other than the file itself: its temporaries, or
// the file moved aside.
std::vector<std::string> strays(const fs::path& folder, const std::string& file)
{
    std::vector<std::string> found;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name != file && name.find(file) != std::string::npos)
            found.push_back(name);
    }
    return found;
}

std::string shown(const objc::id& value) { return value ? value->description() : "<nil>"; }

class DiskFaultTest : public reliability::HostTest, public ::testing::WithParamInterface<const char*> {
protected:
    // The program with the fault over the device folder; its view of the folder from outside.
    std::unique_ptr<testsupport::ChildProcess> startWithFault(const std::string& deviceFolder,
                                                              std::vector<std::string> program,
                                                              const std::vector<std::string>& environment = {})
    {
        std::vector<std::string> arguments = namespacePrefix();
        arguments.insert(arguments.end(), {"/bin/sh", "-c", kFaultScript, "sh", device.host(deviceFolder), GetParam()});
        arguments.insert(arguments.end(), program.begin(), program.end());
        auto child = std::make_unique<testsupport::ChildProcess>(arguments, environment);
        folderSeen = "/proc/" + std::to_string(child->pid()) + "/root" + device.host(deviceFolder);
        return child;
    }

    bool logged(const std::string& line, double timeoutSeconds) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
        do {
            for (const auto& entry : systemLog())
                if (entry.ends_with(line))
                    return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (std::chrono::steady_clock::now() < deadline);
        return false;
    }

    fs::path folderSeen;
};

} // namespace

TEST_P(DiskFaultTest, TheDaemonKeepsTheCityFileWhenItCannotReplaceIt)
{
    if (namespacePrefix().empty())
        GTEST_SKIP() << "no mount namespace can be made here";
    // The folder holds only the city file (the small file system has room for little else).
    fs::remove_all(device.host(std::string(vantorel::SupportFolder)));
    const std::string city = std::string(vantorel::CityFile);
    const std::string previous = tweaktest::plist("<key>Name</key><string>Stuttgart</string><key>Temperature</key>"
                                                  "<string>21.5</string><key>ConditionCode</key><integer>32</integer>");
    device.writeFile(city, previous);
    auto daemon = startWithFault(std::string(vantorel::SupportFolder), {reliability::built("bin/vantoreld")},
                                 {"VANTOREL_LOCATION=48.5,9.25", "VANTOREL_WEATHER_SERVICE=offline"});
    ASSERT_TRUE(logged("*** Weather Updated", 20));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(logged("*** Weather update saved to file", 0));
    EXPECT_FALSE(daemon->wait(0)) << "the daemon ended";
    EXPECT_EQ(contents(folderSeen / "City.plist"), previous);
    EXPECT_EQ(strays(folderSeen, "City.plist"), std::vector<std::string>{});
}

TEST_P(DiskFaultTest, TheSettingsAppLosesNoSettingWhenItCannotReplaceTheFile)
{
    if (namespacePrefix().empty())
        GTEST_SKIP() << "no mount namespace can be made here";
    const std::string bundle = "/Library/PreferenceBundles/Vantorel.bundle";
    fs::create_directories(fs::path(device.host(bundle)).parent_path());
    fs::copy(reliability::built("device") + bundle, device.host(bundle), fs::copy_options::recursive);
    const std::string previous = reliability::settingsFile(
        "<key>Name</key><string>Ada</string><key>textColor</key><string>ff0000</string>"
        "<key>enabled</key><true/><key>SelectedWidget</key><string>Weather</string>");
    device.writeFile(std::string(vantorel::SettingsFile), previous);
    auto app = startWithFault("/User/Library/Preferences", {reliability::built("bin/Preferences")});
    ASSERT_TRUE(app->readLine(30).value_or("").starts_with("ready "));
    const std::string file = "com.vantorel.prefs.plist";

    // A switch, the name and a colour: each write fails whole, and the rows show what is stored.
    EXPECT_EQ(app->ask("set Enabled off"), "ok");
    EXPECT_EQ(app->ask("value Enabled"), "ok \"on\"");
    EXPECT_EQ(app->ask("name Bob"), "ok");
    EXPECT_EQ(app->ask("value Name"), "ok \"Ada\"");
    EXPECT_NE(app->ask("state").find(" alert=\"\" "), std::string::npos) << "a restart was offered";
    EXPECT_EQ(app->ask("colour textColor white"), "ok");
    EXPECT_EQ(contents(folderSeen / file), previous);
    EXPECT_EQ(strays(folderSeen, file), std::vector<std::string>{});

    if (std::string(GetParam()) == "full") {
        fs::remove(folderSeen / ".filler");
        EXPECT_EQ(app->ask("set Enabled off"), "ok");
        EXPECT_EQ(app->ask("value Enabled"), "ok \"off\"");
        const auto stored = std::dynamic_pointer_cast<NSDictionary>(
            foundation::propertyListFromBytes(contents(folderSeen / file), foundation::PropertyListContainers::Immutable));
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->count(), 4u);
        EXPECT_EQ(shown(stored->objectForKey("Name")), "Ada");
        EXPECT_EQ(shown(stored->objectForKey("textColor")), "ff0000");
        EXPECT_EQ(shown(stored->objectForKey("SelectedWidget")), "Weather");
        EXPECT_EQ(shown(stored->objectForKey("enabled")), NSNumber::numberWithBool(false)->description());
        EXPECT_EQ(strays(folderSeen, file), std::vector<std::string>{});
    }
    EXPECT_EQ(app->ask("quit"), "ok");
    EXPECT_EQ(app->wait(), 0);
}

INSTANTIATE_TEST_SUITE_P(FullAndReadOnly, DiskFaultTest, ::testing::Values("full", "read-only"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param) == "full" ? "FullDisk" : "ReadOnlyFolder";
                         });
