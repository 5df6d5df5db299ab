// Start-up of the library inside a host process. Each case loads the built library in a fresh
// child process (a library starts once per process), as the substrate loader would.
#include "tweak_fixture.h"

#include "common/city_file.h"
#include "common/support_paths.h"
#include "foundation/ns_string.h"
#include "foundation/notification_center.h"
#include "foundation/runloop.h"
#include "springboard/springboard.h"
#include "springboard/notification_list_controller.h"
#include "springboard/notification_list_view.h"
#include "support/support.h"
#include "tweak/core/settings.h"
#include "uikit/application.h"
#include "uikit/table_view.h"
#include "weather/city.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;
using namespace objc;

namespace {

struct Row {
    const char* className;
    const char* selector;
    const char* addedEncoding; // nullptr for a replace row
};

// The host's classes and methods the library touches, in the order of the hook table.
const Row kRows[] = {
    {"SBLockScreenNotificationListView", "layoutSubviews", nullptr},
    {"SBLockScreenNotificationListView", "shouldDisplayIndexPath:", "B@:@"},
    {"SBLockScreenNotificationListView", "tableView:heightForRowAtIndexPath:", nullptr},
    {"SBLockScreenNotificationListView", "scrollViewDidEndDragging:willDecelerate:", nullptr},
    {"SBLockScreenNotificationListView", "cornerRadiusHook", "v@:"},
    {"SBLockScreenNotificationListView", "normalizePrevTap", "v@:"},
    {"SBLockScreenNotificationListView", "imgCalenderTapped", "v@:"},
    {"SBLockScreenNotificationListView", "imgNotificationsTapped", "v@:"},
    {"SBLockScreenNotificationListView", "initWithFrame:", nullptr},
    {"SBLockScreenNotificationListView", "selectedWidgetClass:", "v@:#"},
    {"SBLockScreenNotificationListController", "_hardwareButtonPressed:", nullptr},
    {"SBLockScreenNotificationListController", "_updateModelAndViewForAdditionOfItem:", nullptr},
    {"SBLockScreenNotificationListController", "_updateModelForRemovalOfItem:updateView:", nullptr},
    {"SBLockScreenNotificationListController", "prepareForTeardown", nullptr},
    {"SBLockScreenNotificationListController", "clearItemsForNotificationCenter", nullptr},
    {"SBLockScreenNotificationListController", "setInScreenOffMode:", nullptr},
    {"SBLockScreenView", "layoutSubviews", nullptr},
    {"SBLockScreenView", "_addLockContentUnderlayWithRequester:", nullptr},
    {"_NowPlayingArtView", "initWithFrame:", nullptr},
};

// The implementation each row's method has on its class right now (nullptr: none of its own).
std::vector<IMP> ownImplementations()
{
    std::vector<IMP> result;
    for (const Row& row : kRows) {
        Class cls = objc_getClass(row.className);
        Method own = cls ? cls->ownMethod(sel_registerName(row.selector)) : nullptr;
        result.push_back(own ? own->imp : nullptr);
    }
    return result;
}

// Whether the implementation is the library's own code.
bool isLibraryCode(IMP imp)
{
    Dl_info info{};
    return imp && dladdr(reinterpret_cast<const void*>(imp), &info) && info.dli_fname &&
           std::string(info.dli_fname).ends_with("/Vantorel.dylib");
}

// The rows now installed: methods of the library's own code on the host's classes (an added
// one with its encoding); a replaced one must have replaced what the host had before.
// Mismatches are described in `problems`.
int installedRows(const std::vector<IMP>& before, std::ostringstream& problems)
{
    int installed = 0;
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const Row& row = kRows[i];
        Class cls = objc_getClass(row.className);
        Method own = cls ? cls->ownMethod(sel_registerName(row.selector)) : nullptr;
        if (!own || !isLibraryCode(own->imp))
            continue;
        ++installed;
        if (row.addedEncoding && std::string(own->types) != row.addedEncoding)
            problems << row.selector << " added as " << own->types << "; ";
        if (!row.addedEncoding && before[i] && isLibraryCode(before[i]))
            problems << row.selector << " was the library's before loading; ";
    }
    return installed;
}

void* loadLibrary()
{
    const std::string path = testsupport::buildDir() + "/device/Library/MobileSubstrate/DynamicLibraries/Vantorel.dylib";
    return dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
}

template <class T>
T* librarySymbol(void* library, const char* name)
{
    return static_cast<T*>(dlsym(library, name));
}

// Runs the body in a child process; it ends the child with 0 when the body returns "" and
// with 1 (after printing what it returned) otherwise.
void inChild(const std::function<std::string()>& body)
{
    const std::string failure = body();
    if (!failure.empty())
        std::fprintf(stderr, "%s\n", failure.c_str());
    std::fflush(stderr);
    _exit(failure.empty() ? 0 : 1);
}

bool runLoopUntil(const std::function<bool()>& condition)
{
    return NSRunLoop::mainRunLoop()->runUntil(condition, 10.0);
}

bool postFromAnotherProcess(const std::string& name)
{
    const std::string command =
        "dbus-send --session --type=signal /com/vantorel/DarwinNotify com.vantorel.DarwinNotify.Notify string:" + name;
    return std::system(command.c_str()) == 0;
}

class StartUpTest : public tweaktest::ShippedFilesTest {
protected:
    void installNowPlayingPlugin() const
    {
        const std::string devicePath = SpringBoard::kNowPlayingPluginPath;
        fs::create_directories(fs::path(device.host(devicePath)).parent_path());
        fs::copy_file(testsupport::buildDir() + "/device" + devicePath, device.host(devicePath),
                      fs::copy_options::overwrite_existing);
    }
};

} // namespace

TEST_F(StartUpTest, EnabledLibraryInstallsAllNineteenRowsAndTheHostStillWorks)
{
    installNowPlayingPlugin();
    EXPECT_EXIT(inChild([] {
                    const auto before = ownImplementations();
                    if (objc_getClass("_NowPlayingArtView"))
                        return std::string("the now-playing class exists before its plug-in is loaded");
                    if (!loadLibrary())
                        return std::string(dlerror());
                    std::ostringstream problems;
                    const int installed = installedRows(before, problems);
                    if (installed != 19)
                        problems << installed << " rows installed; ";
                    // Each replacement reaches the host's own behaviour through its saved slot.
                    SpringBoard host;
                    host.addBulletin("com.apple.MobileSMS", "Ann", "Lunch?");
                    host.layout();
                    if (host.controller()->listItems()->count() != 1)
                        problems << "the host's list lost its item; ";
                    if (host.listView()->tableView()->numberOfRowsInSection(0) != 1)
                        problems << "the host's table has no row; ";
                    if (host.listView()->containerView()->frame() != host.listView()->bounds())
                        problems << "the host's layout did not run; ";
                    host.startMedia();
                    if (!host.mediaView())
                        problems << "the host made no now-playing view; ";
                    return problems.str();
                }),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(StartUpTest, WithoutCompanionsRowNineteenFindsNoClassAndTheRestIsInstalled)
{
    EXPECT_EXIT(inChild([] {
                    const auto before = ownImplementations();
                    if (!loadLibrary())
                        return std::string(dlerror());
                    std::ostringstream problems;
                    if (objc_getClass("_NowPlayingArtView"))
                        problems << "the now-playing class appeared; ";
                    if (const int installed = installedRows(before, problems); installed != 18)
                        problems << installed << " rows installed; ";
                    return problems.str();
                }),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(StartUpTest, DisabledLibraryInstallsNothingYetReloadsSettingsAndRestartsTheHost)
{
    installNowPlayingPlugin();
    writeSettings("<key>enabled</key><false/>");
    const auto settingsFile = device.host(std::string(vantorel::SettingsFile));
    EXPECT_EXIT(inChild([&] {
                    const auto before = ownImplementations();
                    void* library = loadLibrary();
                    if (!library)
                        return std::string(dlerror());
                    std::ostringstream problems;
                    if (int installed = installedRows(before, problems))
                        problems << installed << " rows installed while disabled; ";
                    auto* settings = librarySymbol<vantorel::Settings>(library, "_ZN8vantorel8settingsE");
                    if (!settings || settings->enabled || settings->removeNW)
                        return std::string("the library's settings are not as stored");

                    // Switched on while the host runs: settings reload, hooks wait for a restart.
                    writeSettings("<key>enabled</key><true/><key>removeNW</key><true/>");
                    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                                         CFSTR("loadVantorelS"), nullptr, nullptr, true);
                    if (!runLoopUntil([&] { return settings->removeNW; }))
                        problems << "loadVantorelS did not reload the settings; ";
                    if (!settings->enabled)
                        problems << "the reloaded settings lack enabled; ";
                    if (int installed = installedRows(before, problems))
                        problems << installed << " rows installed before a restart; ";

                    bool relaunched = false;
                    UIApplication::sharedApplication()->setRelaunchHandler([&] { relaunched = true; });
                    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                                         CFSTR("RespringVT"), nullptr, nullptr, true);
                    if (!runLoopUntil([&] { return relaunched; }))
                        problems << "RespringVT did not restart the host; ";
                    return problems.str();
                }),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(StartUpTest, WeatherNotificationFromAnotherProcessRereadsTheCityFile)
{
    device.makeFolder(std::string(vantorel::SupportFolder));
    EXPECT_EXIT(inChild([] {
                    void* library = loadLibrary();
                    if (!library)
                        return std::string(dlerror());
                    auto* city = librarySymbol<objc::id>(library, "currentCity");
                    if (!city)
                        return std::string("the library exports no currentCity");
                    // Before any file exists: the city stays empty, nothing fails.
                    if (!postFromAnotherProcess("VTdidUpdateWeather"))
                        return std::string("dbus-send failed");
                    NSRunLoop::mainRunLoop()->runForSeconds(0.5);
                    if (*city)
                        return std::string("a city appeared without a file");

                    auto written = std::make_shared<City>();
                    written->setTemperature(NSStr("12.5"));
                    written->setConditionCode(26);
                    if (!vantorel::writeCityFile(written))
                        return std::string("cannot write the city file");
                    if (!postFromAnotherProcess("VTdidUpdateWeather"))
                        return std::string("dbus-send failed");
                    if (!runLoopUntil([&] { return *city != nullptr; }))
                        return std::string("the library did not reread the city file");
                    auto read = std::dynamic_pointer_cast<City>(*city);
                    if (!read || !read->temperature() || read->temperature()->string() != "12.5")
                        return std::string("the library read another city");
                    return std::string();
                }),
                ::testing::ExitedWithCode(0), "");
}
