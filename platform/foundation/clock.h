// The platform's "now": real time by default (moved by the device setting VANTOREL_CLOCK_OFFSET,
// in seconds, when the device's clock is set apart from this machine's), a virtual clock that
// tests set and advance.
#pragma once

namespace foundation {

// Seconds since the Unix epoch, real or virtual.
double now();

// Switches to a virtual clock that stands at the given instant until it is set or advanced.
void useVirtualClock(double startEpochSeconds);
// Back to the real clock.
void useRealClock();
bool isVirtualClock();

// Moves the virtual clock (switching to it when the real one is in use) without running
// anything; timers whose time has come wait for the next pass of the run loop.
void setNow(double epochSeconds);
// Moves the virtual clock forward, running work already handed back to the main thread and, in
// time order, every timer and delayed perform of the
// main run loop that falls due on the way, each with the clock set to its own due time.
// A negative amount is treated as zero.
void advanceClock(double seconds);

} // namespace foundation
