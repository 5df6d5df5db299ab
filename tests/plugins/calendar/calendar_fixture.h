// Fixture of the Calendar plug-in's tests: a temporary device root, the virtual clock on
// 15 March 2026 at noon (UTC), a Berlin en_US device, and a main run loop left without timers.
#pragma once

#include "foundation/clock.h"
#include "foundation/locale.h"
#include "foundation/runloop.h"
#include "foundation/timer.h"
#include "foundation/timezone.h"
#include "support/device_root.h"

#include <string>

class CalendarTest : public testsupport::DeviceRootTest {
protected:
    static constexpr double k15March2026 = 1773576000.0; // 2026-03-15 12:00:00 UTC
    static constexpr double k7March2026 = 1772884800.0;  // 2026-03-07 12:00:00 UTC

    void SetUp() override
    {
        previousZone_ = foundation::deviceTimeZone();
        foundation::useVirtualClock(k15March2026);
        foundation::setDeviceTimeZone("Europe/Berlin");
        foundation::setDeviceLocale("en_US");
    }

    void TearDown() override
    {
        for (const auto& timer : NSRunLoop::mainRunLoop()->scheduledTimers())
            timer->invalidate();
        NSRunLoop::mainRunLoop()->runOnce(0);
        foundation::setDeviceTimeZone(previousZone_);
    }

private:
    std::string previousZone_;
};
