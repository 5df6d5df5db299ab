// Fixture of the foundation services tests: a temporary device root, the virtual clock at the
// first instant of 2026 (UTC), a UTC en_US device, an empty log sink, and a main run loop that
// is left without timers for the next test.
#pragma once

#include "foundation/clock.h"
#include "foundation/locale.h"
#include "foundation/log.h"
#include "foundation/runloop.h"
#include "foundation/timer.h"
#include "foundation/timezone.h"
#include "support/device_root.h"

class ServicesTest : public testsupport::DeviceRootTest {
protected:
    static constexpr double kStart = 1767225600.0; // 2026-01-01 00:00:00 UTC

    void SetUp() override
    {
        foundation::useVirtualClock(kStart);
        foundation::setDeviceTimeZone("UTC");
        foundation::setDeviceLocale("en_US");
        foundation::clearLogSink();
    }

    void TearDown() override
    {
        for (const auto& timer : NSRunLoop::mainRunLoop()->scheduledTimers())
            timer->invalidate();
        NSRunLoop::mainRunLoop()->runOnce(0);
    }
};
