#include "foundation/clock.h"

#include "foundation/runloop.h"

#include <atomic>
#include <chrono>
#include <cmath>

namespace foundation {

namespace {
// Read from any thread (log lines carry the time), written by tests on the main thread.
std::atomic<bool> virtualMode{false};
std::atomic<double> virtualNow{0};

double realNow()
{
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}
} // namespace

double now() { return virtualMode.load() ? virtualNow.load() : realNow(); }

void useVirtualClock(double startEpochSeconds)
{
    virtualNow.store(startEpochSeconds);
    virtualMode.store(true);
}

void useRealClock() { virtualMode.store(false); }

bool isVirtualClock() { return virtualMode.load(); }

void setNow(double epochSeconds) { useVirtualClock(epochSeconds); }

void advanceClock(double seconds)
{
    if (!virtualMode.load())
        useVirtualClock(realNow());
    // NaN, infinities and negative amounts move nothing: an endless advance would never return.
    const double target = now() + (std::isfinite(seconds) && seconds > 0 ? seconds : 0);
    NSRunLoop::mainRunLoop()->fireTimersDueBy(target, [](double due) {
        if (due > virtualNow.load())
            virtualNow.store(due);
    });
    virtualNow.store(target);
}

} // namespace foundation
