// NSRunLoop: the one main run loop of the process. Timers, delayed performs, notification
// delivery and work handed back from other threads all run on it, one at a time.
//
// Waiting is real: a pass sleeps in poll() on the loop's wake-up eventfd and on the file
// sources registered with it (the session bus). With the virtual clock (foundation/clock.h) time
// moves only by advanceClock(): real waiting still delivers bus traffic and handed-back work, and
// a pass still runs whatever is due at the virtual "now" (a perform with delay 0), but a timer
// whose time lies ahead fires only when advanceClock() reaches it.
//
// Everything here except foundation::performOnMainThread() belongs to the main thread.
#pragma once

#include "objc/objc.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class NSDate;
class NSTimer;

class NSRunLoop : public objc::Object {
    OBJC_CLASS(NSRunLoop, objc::Object)
    struct Private {};

public:
    // Made once, by mainRunLoop(); alloc gives nil.
    explicit NSRunLoop(Private);
    ~NSRunLoop() override;

    static std::shared_ptr<NSRunLoop> mainRunLoop();
    // One run loop per process: the main one, whatever the thread.
    static std::shared_ptr<NSRunLoop> currentRunLoop() { return mainRunLoop(); }

    // Runs passes for ever.
    [[noreturn]] void run();
    // Runs passes until the date, measured as a distance from the platform's now and waited in
    // real time (with the virtual clock the distance is waited, the clock does not move).
    void runUntilDate(const std::shared_ptr<NSDate>& limit);
    void runForSeconds(double seconds);
    // One pass: waits up to the timeout (less when a timer or a source needs it sooner, not at
    // all when something is ready), then runs everything that is ready. True when anything ran.
    bool runOnce(double timeoutSeconds);
    // Runs passes until the condition holds or the real timeout passes; the condition's last value.
    bool runUntil(const std::function<bool()>& condition, double realTimeoutSeconds);

    // Schedules the timer; the loop holds it until it is invalidated. Modes are accepted and
    // ignored: the loop has one mode.
    void addTimer(const std::shared_ptr<NSTimer>& timer);
    void addTimerForMode(const std::shared_ptr<NSTimer>& timer, const objc::id& mode) { addTimer(timer); }
    std::vector<std::shared_ptr<NSTimer>> scheduledTimers() const { return timers_; }

    // A file descriptor the loop polls for a component (the notification centre's bus).
    struct FileSource {
        int fd = -1;
        std::function<short()> events;   // poll() events wanted; POLLIN when empty
        std::function<double()> timeout; // seconds until it must be dispatched anyway; none when empty
        std::function<void()> dispatch;  // called on the loop when ready or timed out
    };
    using SourceToken = std::uint64_t;
    SourceToken addFileSource(FileSource source);
    void removeFileSource(SourceToken token);

    // For the virtual clock: fires, in time order, every timer due at or before the limit,
    // calling setClock with each one's due time just before it fires.
    void fireTimersDueBy(double limit, const std::function<void(double)>& setClock);

    // Thread-safe: queues work for the next pass and wakes the loop.
    void performOnMainThread(std::function<void()> work);

private:
    friend class NSTimer;
    void removeTimer(const NSTimer* timer);
    std::shared_ptr<NSTimer> earliestTimer(double dueBy, std::uint64_t scheduledBy) const;
    void fireTimer(const std::shared_ptr<NSTimer>& timer);
    bool runHandedBackWork();
    void wake();
    void drainWake();

    int wakeFd_ = -1;
    std::uint64_t order_ = 0; // scheduling sequence: equal due times fire first come, first served
    std::vector<std::shared_ptr<NSTimer>> timers_;
    struct Source {
        SourceToken token = 0;
        FileSource source;
    };
    std::vector<Source> sources_;
    SourceToken nextToken_ = 1;
    std::mutex workLock_;
    std::vector<std::function<void()>> work_;
};

namespace foundation {

// Hands work from any thread to the main run loop; it runs on the loop's next pass.
void performOnMainThread(std::function<void()> work);

} // namespace foundation
