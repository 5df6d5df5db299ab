// The dashboard tests' fixture: the built library in the host's process on a fixed day in a
// fixed time zone, with the test widget as the Calendar plug-in and the host's now-playing
// plug-in in the device root.
#pragma once

#include "dashboard_test_api.h"
#include "springboard/springboard.h"
#include "tweak_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace dashboardtest {

class DashboardTest : public tweaktest::ShippedFilesTest {
public:
    DashboardTest();
    ~DashboardTest() override;

    // Writes the settings, starts the library (or reloads its settings) and builds a new lock
    // screen, which builds the dashboard.
    void start(const std::string& settingsEntries = "");
    // The virtual clock at that day of January 2026, time of day in UTC.
    static void setTime(int day, int hour, int minute);

    // Taps the middle of a view of the lock screen through the host.
    void tapIcon(const UIView* view, int taps) const;
    // Taps the hub's icon of the group.
    void tapHubIcon(const std::string& identifier) const;
    unsigned long hubIconCount() const;

    DashboardTestApi* api = nullptr;
    std::unique_ptr<SpringBoard> host;
};

UIView* asView(const objc::id& object);
// Same size, scale and pixels.
bool samePixels(const UIImage& a, const UIImage& b);
// The share of pixels (0..1) whose channels differ by more than the tolerance (0..255); 1 when
// the sizes differ.
double differingShare(const UIImage& a, const UIImage& b, int tolerance);

} // namespace dashboardtest
