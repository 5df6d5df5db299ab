// Files from outside that the real host reads, crafted against property-list readers: as the
// settings file at start-up and as the city file on "VTdidUpdateWeather", each leaves the host
// running with the defaults.
#include "tweak_fixture.h"

#include "common/support_paths.h"
#include "support/child_process.h"
#include "support/support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string built(const std::string& relative) { return testsupport::buildDir() + "/" + relative; }

std::string repeated(const std::string& part, std::size_t times)
{
    std::string text;
    text.reserve(part.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text += part;
    return text;
}

// Half a million levels deep, hidden from a reader that counts tags differently from its parser.
std::string attributeHidesNesting()
{
    return "<?xml version=\"1.0\"?><plist version=\"1.0\">" + repeated("<array a=\"/>\">", 500000) +
           repeated("</array>", 500000) + "</plist>";
}

std::string commentInDoctypeSubset()
{
    return "<!DOCTYPE plist [ <!-- ]>" + repeated("<array>", 500000) + "<string>--></string>" +
           repeated("</array>", 500000);
}

// A binary dictionary whose one key, in UTF-16, ends in U+0000.
std::string nulInBinaryKey()
{
    using namespace std::string_literals;
    return "bplist00\xD1\x01\x02\x62\x00k\x00\x00\x10\x05\x08\x0B\x10"s + std::string(6, '\0') + "\x01\x01"s +
           std::string(7, '\0') + "\x03"s + std::string(8, '\0') + std::string(7, '\0') + "\x12"s;
}

class CraftedFilesTest : public tweaktest::ShippedFilesTest {
protected:
    void SetUp() override
    {
        for (const char* devicePath : {"/Library/MobileSubstrate/DynamicLibraries/Vantorel.dylib",
                                       "/Library/MobileSubstrate/DynamicLibraries/Vantorel.plist"}) {
            fs::create_directories(fs::path(device.host(devicePath)).parent_path());
            fs::copy_file(built("device") + devicePath, device.host(devicePath), fs::copy_options::overwrite_existing);
        }
    }

    static bool postWeatherUpdate()
    {
        return std::system("dbus-send --session --type=signal /com/vantorel/DarwinNotify "
                           "com.vantorel.DarwinNotify.Notify string:VTdidUpdateWeather") == 0;
    }
};

} // namespace

TEST_F(CraftedFilesTest, CraftedSettingsAndCityFilesLeaveTheHostRunningWithTheDefaults)
{
    const std::string settings = std::string(vantorel::SettingsFile);
    const std::string city = std::string(vantorel::CityFile);
    std::string defaults;
    {
        testsupport::ChildProcess host({built("bin/springboard")});
        ASSERT_TRUE(host.readLine().value_or("").starts_with("ready "));
        defaults = host.ask("state");
        ASSERT_TRUE(defaults.starts_with("state ")) << defaults;
    }
    const struct {
        const char* what;
        std::string bytes;
    } crafted[] = {
        {"'>' inside attributes", attributeHidesNesting()},
        {"comment opened in the DOCTYPE subset", commentInDoctypeSubset()},
        {"NUL in a binary key", nulInBinaryKey()},
    };
    for (const auto& file : crafted) {
        SCOPED_TRACE(file.what);
        device.writeFile(settings, file.bytes);
        fs::remove(device.host(city));
        testsupport::ChildProcess host({built("bin/springboard")});
        ASSERT_TRUE(host.readLine(30).value_or("").starts_with("ready "));
        EXPECT_EQ(host.ask("state"), defaults);

        // The sentence is laid out anew after the update.
        device.writeFile(city, file.bytes);
        ASSERT_TRUE(postWeatherUpdate());
        EXPECT_EQ(host.ask("wait 0.5"), "ok");
        EXPECT_EQ(host.ask("layout"), "ok");
        EXPECT_EQ(host.ask("state"), defaults);

        // The host still reads a sound city file after the crafted one.
        device.writeFile(city, tweaktest::plist("<key>Name</key><string>Stuttgart</string><key>Temperature</key>"
                                                "<string>21.5</string><key>ConditionCode</key><integer>32</integer>"));
        ASSERT_TRUE(postWeatherUpdate());
        EXPECT_EQ(host.ask("wait 0.5"), "ok");
        EXPECT_EQ(host.ask("layout"), "ok");
        EXPECT_NE(host.ask("state").find("21.5"), std::string::npos);
        EXPECT_EQ(host.ask("quit"), "ok");
        EXPECT_EQ(host.wait(), 0);
    }
}
