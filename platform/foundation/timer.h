// NSTimer: runs a target–action (or a block) on the main run loop after an interval, once or
// repeatedly. A scheduled timer is held by the run loop until it is invalidated, and holds its
// target and user info until then, so a repeating timer keeps its target alive.
#pragma once

#include "objc/objc.h"

#include <functional>
#include <memory>

class NSDate;
class NSRunLoop;

class NSTimer : public objc::Object {
    OBJC_CLASS(NSTimer, objc::Object)
public:
    using Block = std::function<void(const std::shared_ptr<NSTimer>&)>;

    // The shortest interval; the platform uses the same for 0 or less.
    static constexpr double kMinimumInterval = 0.0001;

    NSTimer() = default;

    // Scheduled on the main run loop. The action takes no argument or the timer ("v@:" or
    // "v@:@"); any other signature stops with a diagnostic when the timer fires.
    static std::shared_ptr<NSTimer> scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(
        double interval, const objc::id& target, objc::SEL selector, const objc::id& userInfo, bool repeats);
    static std::shared_ptr<NSTimer> scheduledTimerWithTimeIntervalRepeatsBlock(double interval, bool repeats, Block block);
    // Not scheduled: hand it to NSRunLoop::addTimer. The first firing is interval after now.
    static std::shared_ptr<NSTimer> timerWithTimeIntervalTargetSelectorUserInfoRepeats(
        double interval, const objc::id& target, objc::SEL selector, const objc::id& userInfo, bool repeats);
    static std::shared_ptr<NSTimer> timerWithTimeIntervalRepeatsBlock(double interval, bool repeats, Block block);
    // A one-shot block timer due at the given instant (it may be now: then it runs on the next
    // pass). Delayed performs are made of these.
    static std::shared_ptr<NSTimer> timerWithFireTimeBlock(double epochSeconds, Block block);

    // Sends the action now. A one-shot timer is invalidated afterwards; a repeating one keeps its
    // schedule. An invalid timer does nothing.
    void fire();
    // Stops the timer for good: the run loop lets go of it and it lets go of its target, user
    // info and block.
    void invalidate();

    bool isValid() const { return valid_; }
    double timeInterval() const { return interval_; }
    bool repeats() const { return repeats_; }
    std::shared_ptr<NSDate> fireDate() const;
    // Moves the next firing (the run loop picks the new time up on its next pass).
    void setFireDate(const std::shared_ptr<NSDate>& date);
    const objc::id& userInfo() const { return userInfo_; }
    const objc::id& target() const { return target_; }
    objc::SEL selector() const { return selector_; }

private:
    friend class NSRunLoop;
    static std::shared_ptr<NSTimer> make(double interval, bool repeats);
    void sendAction();

    double interval_ = kMinimumInterval;
    bool repeats_ = false;
    bool valid_ = true;
    double due_ = 0;                  // next firing, seconds since the epoch
    std::uint64_t order_ = 0;         // run loop's scheduling sequence
    NSRunLoop* runLoop_ = nullptr;    // non-owning: the run loop that holds this timer
    objc::id target_;
    objc::SEL selector_ = nullptr;
    objc::id userInfo_;
    Block block_;
};
