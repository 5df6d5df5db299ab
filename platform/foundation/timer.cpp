#include "foundation/timer.h"

#include "foundation/clock.h"
#include "foundation/date.h"
#include "foundation/runloop.h"

#include <cmath>

std::shared_ptr<NSTimer> NSTimer::make(double interval, bool repeats)
{
    auto timer = std::make_shared<NSTimer>();
    // NaN and anything below the minimum (zero, negatives) take the minimum.
    timer->interval_ = interval >= kMinimumInterval ? interval : kMinimumInterval;
    timer->repeats_ = repeats;
    timer->due_ = foundation::now() + timer->interval_;
    return timer;
}

std::shared_ptr<NSTimer> NSTimer::timerWithTimeIntervalTargetSelectorUserInfoRepeats(
    double interval, const objc::id& target, objc::SEL selector, const objc::id& userInfo, bool repeats)
{
    auto timer = make(interval, repeats);
    timer->target_ = target;
    timer->selector_ = selector;
    timer->userInfo_ = userInfo;
    return timer;
}

std::shared_ptr<NSTimer> NSTimer::timerWithTimeIntervalRepeatsBlock(double interval, bool repeats, Block block)
{
    auto timer = make(interval, repeats);
    timer->block_ = std::move(block);
    return timer;
}

std::shared_ptr<NSTimer> NSTimer::timerWithFireTimeBlock(double epochSeconds, Block block)
{
    auto timer = make(kMinimumInterval, false);
    timer->due_ = epochSeconds;
    timer->block_ = std::move(block);
    return timer;
}

std::shared_ptr<NSTimer> NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(
    double interval, const objc::id& target, objc::SEL selector, const objc::id& userInfo, bool repeats)
{
    auto timer = timerWithTimeIntervalTargetSelectorUserInfoRepeats(interval, target, selector, userInfo, repeats);
    NSRunLoop::mainRunLoop()->addTimer(timer);
    return timer;
}

std::shared_ptr<NSTimer> NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(double interval, bool repeats, Block block)
{
    auto timer = timerWithTimeIntervalRepeatsBlock(interval, repeats, std::move(block));
    NSRunLoop::mainRunLoop()->addTimer(timer);
    return timer;
}

void NSTimer::sendAction()
{
    // Locals keep target and block alive while the action runs, even if it invalidates us.
    auto self = selfAs<NSTimer>();
    if (block_) {
        Block block = block_;
        block(self);
    } else if (target_ && selector_) {
        objc::id target = target_;
        objc::sendAction(target, selector_, self);
    }
}

void NSTimer::fire()
{
    if (!valid_)
        return;
    sendAction();
    if (!repeats_)
        invalidate();
}

void NSTimer::invalidate()
{
    if (!valid_)
        return;
    valid_ = false;
    auto keep = selfAs<NSTimer>(); // the run loop may hold the last reference
    if (runLoop_)
        runLoop_->removeTimer(this);
    runLoop_ = nullptr;
    target_.reset();
    userInfo_.reset();
    block_ = nullptr;
}

std::shared_ptr<NSDate> NSTimer::fireDate() const { return NSDate::dateWithTimeIntervalSince1970(due_); }

void NSTimer::setFireDate(const std::shared_ptr<NSDate>& date)
{
    if (date && !std::isnan(date->timeIntervalSince1970()))
        due_ = date->timeIntervalSince1970();
}

OBJC_REGISTER(NSTimer,
    c.classMethod<&NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats>(
        "scheduledTimerWithTimeInterval:target:selector:userInfo:repeats:");
    c.classMethod<&NSTimer::timerWithTimeIntervalTargetSelectorUserInfoRepeats>(
        "timerWithTimeInterval:target:selector:userInfo:repeats:");
    c.method<&NSTimer::fire>("fire");
    c.method<&NSTimer::invalidate>("invalidate");
    c.method<&NSTimer::isValid>("isValid");
    c.method<&NSTimer::timeInterval>("timeInterval");
    c.method<&NSTimer::fireDate>("fireDate");
    c.method<&NSTimer::setFireDate>("setFireDate:");
    c.method<&NSTimer::userInfo>("userInfo");)
