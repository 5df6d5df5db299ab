#include "prefs/prefs_fixture.h"

#include "common/support_paths.h"
#include "foundation/notification_center.h"
#include "foundation/ns_dictionary.h"
#include "foundation/runloop.h"
#include "support/support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace prefstest {

namespace {

constexpr const char* kBundle = "/Library/PreferenceBundles/Vantorel.bundle";
constexpr const char* kMarker = "VTtestMarker";

std::vector<std::string>& heard()
{
    static std::vector<std::string> names;
    return names;
}

void record(CFNotificationCenterRef, void*, CFStringRef name, const void*, CFDictionaryRef)
{
    heard().emplace_back(name ? name : "");
}

} // namespace

std::string plist(const std::string& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + entries + "</dict></plist>\n";
}

PrefsTest::PrefsTest()
{
    const fs::path staged = fs::path(testsupport::buildDir()) / "device" / (kBundle + 1);
    fs::create_directories(device.host(kBundle));
    fs::copy(staged, device.host(kBundle), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    device.makeFolder("/User/Library/Preferences");
    for (const char* name : {"loadVantorelS", "RespringVT", "VTtestOther", kMarker})
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), this, record, name, nullptr, 0);
}

PrefsTest::~PrefsTest()
{
    commands.reset();
    app.reset();
    CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this);
}

void PrefsTest::installList(const std::string& items) const
{
    device.writeFile(std::string(kBundle) + "/Vantorel.plist",
                     plist("<key>title</key><string>Vantorel</string><key>items</key><array>" + items + "</array>"));
}

void PrefsTest::writeSettings(const std::string& entries) const
{
    device.writeFile(std::string(vantorel::SettingsFile), plist(entries));
}

std::shared_ptr<NSDictionary> PrefsTest::settings() const
{
    return NSDictionary::dictionaryWithContentsOfFile(vantorel::SettingsFile);
}

std::string PrefsTest::settingsHostPath() const { return device.host(std::string(vantorel::SettingsFile)); }

void PrefsTest::makeFolders(const std::vector<std::string>& devicePaths) const
{
    for (const auto& path : devicePaths)
        device.makeFolder(path);
}

void PrefsTest::start()
{
    commands.reset();
    app.reset();
    app = std::make_unique<PreferencesApp>("Vantorel");
    ASSERT_TRUE(app->isReady()) << app->failure();
    commands = std::make_unique<PreferencesCommands>(*app);
    posted(); // nothing from before counts
}

std::string PrefsTest::run(const std::string& command) { return commands->execute(command); }

void PrefsTest::runAll(const std::vector<std::string>& list)
{
    for (const auto& command : list)
        EXPECT_EQ(run(command), "ok") << command;
}

std::vector<std::string> PrefsTest::posted()
{
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), kMarker, nullptr, nullptr, true);
    const bool back = NSRunLoop::mainRunLoop()->runUntil(
        [] { return std::find(heard().begin(), heard().end(), kMarker) != heard().end(); }, 10.0);
    EXPECT_TRUE(back) << "the marker notification did not come back";
    std::vector<std::string> names;
    for (const auto& name : heard())
        if (name != kMarker)
            names.push_back(name);
    heard().clear();
    return names;
}

} // namespace prefstest
