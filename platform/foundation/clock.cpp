#include "foundation/clock.h"

#include "foundation/runloop.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>

namespace foundation {

namespace {
// Read from any thread (log lines carry the time), written by tests on the main thread.
std::atomic<bool> virtualMode{false};
std::atomic<double> virtualNow{0};

// A device whose clock is set apart from this machine's (VANTOREL_CLOCK_OFFSET, seconds, inherited
// by every process of the device) reads the machine's time moved by that much.
double offset()
{
    static const double seconds = [] {
        const char* text = std::getenv("VANTOREL_CLOCK_OFFSET");
        char* end = nullptr;
        const double value = text ? std::strtod(text, &end) : 0;
        return text && *text && end && *end == '\0' && std::isfinite(value) && std::fabs(value) < 1e10 ? value : 0;
    }();
    return seconds;
}

double realNow()
{
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count() + offset();
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
