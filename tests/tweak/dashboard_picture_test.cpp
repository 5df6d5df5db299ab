// The dashboard as the host program draws it, at 2x, in each panel state and arrangement, with
// the shipped Calendar plug-in in the widget panel (it shows the virtual clock's month),
// compared with the reference pictures in tests/tweak/reference (a small share of pixels may
// differ: text antialiasing follows the machine's fonts). Each picture is also written to
// <build>/pictures/dashboard/ to be looked at; with VANTOREL_UPDATE_REFERENCES set, the
// references are rewritten from them.
#include "dashboard_fixture.h"

#include "common/city_file.h"
#include "foundation/ns_string.h"
#include "support/support.h"
#include "uikit/snapshot.h"
#include "weather/city.h"
#include "weather/weather_preferences.h"

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using dashboardtest::DashboardTest;

namespace {

// Pixels whose channels differ by more than this count as different ...
constexpr int kChannelTolerance = 24;
// ... and at most this share of them may.
constexpr double kDifferingShare = 0.01;

} // namespace

TEST_F(DashboardTest, PicturesOfThePanelStatesMatchTheReferences)
{
    struct Picture {
        const char* name;
        const char* settings;
        std::function<void(DashboardTest&)> act;
    };
    const Picture pictures[] = {
        {"normal_closed", "", [](DashboardTest&) {}},
        {"normal_widget_open", "", [](DashboardTest& t) { t.tapIcon(t.api->imgCalender().get(), 1); }},
        {"normal_notifications_open", "", [](DashboardTest& t) { t.tapIcon(t.api->imgNotifications().get(), 1); }},
        {"minimal_closed", "<key>removeNW</key><true/>", [](DashboardTest&) {}},
        {"minimal_app_selected", "<key>removeNW</key><true/>",
         [](DashboardTest& t) { t.tapHubIcon("com.apple.MobileSMS"); }},
        {"blur_closed", "<key>blurEnabled</key><true/>", [](DashboardTest&) {}},
        {"blur_notifications_open", "<key>blurEnabled</key><true/>",
         [](DashboardTest& t) { t.tapIcon(t.api->imgNotifications().get(), 1); }},
    };
    // What a user sees: the real plug-in, in one host process for every lock screen.
    ASSERT_NO_FATAL_FAILURE(installShippedPlugin("Calendar"));
    WeatherPreferences::sharedPreferences()->setCelsius(true);
    auto city = std::make_shared<City>();
    city->setTemperature(NSStr("21"));
    city->setConditionCode(32);
    ASSERT_TRUE(vantorel::writeCityFile(city));

    const fs::path out = fs::path(testsupport::buildDir()) / "pictures/dashboard";
    fs::create_directories(out);
    const bool update = std::getenv("VANTOREL_UPDATE_REFERENCES") != nullptr;
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.name);
        start(p.settings);
        host->addBulletin("com.apple.MobileSMS", "Ann", "Lunch at one?");
        host->addBulletin("com.apple.mobilemail", "Bob", "Minutes of today's meeting");
        host->addBulletin("com.apple.MobileSMS", "Cem", "On my way");
        // The screen wakes, as it does before anyone sees the lock screen: the dashboard closes.
        host->setScreenOff(true);
        host->setScreenOff(false);
        host->layout();
        p.act(*this);
        auto picture = snapshotImage(host->rootView(), 2.0);
        ASSERT_TRUE(picture);
        const std::string file = std::string(p.name) + ".png";
        ASSERT_TRUE(picture->writePNG((out / file).string()));
        const fs::path reference = fs::path(DASHBOARD_REFERENCE_DIR) / file;
        if (update)
            fs::copy_file(out / file, reference, fs::copy_options::overwrite_existing);
        std::shared_ptr<UIImage> referencePicture;
        if (fs::exists(reference))
            referencePicture = UIImage::imageWithSurface(cairo_image_surface_create_from_png(reference.c_str()), 2.0);
        if (!referencePicture) {
            ADD_FAILURE() << "no reference " << reference << "; look at " << (out / file)
                          << " and set VANTOREL_UPDATE_REFERENCES to keep it";
            continue;
        }
        EXPECT_LE(dashboardtest::differingShare(*picture, *referencePicture, kChannelTolerance), kDifferingShare)
            << "compare " << (out / file) << " with " << reference;
    }
}
