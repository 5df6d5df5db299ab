#include "springboard/idle_timer.h"

#include "foundation/timer.h"

const char* SBIdleStateName(SBIdleState state)
{
    switch (state) {
    case SBIdleState::Awake:
        return "awake";
    case SBIdleState::Dimmed:
        return "dimmed";
    case SBIdleState::Off:
        return "off";
    }
    return "awake";
}

SBIdleTimer::SBIdleTimer(std::function<void()> onScreenOff) : onScreenOff_(std::move(onScreenOff))
{
    startCountdown();
}

SBIdleTimer::~SBIdleTimer() { stopCountdown(); }

bool SBIdleTimer::isCounting() const
{
    return (dimTimer_ && dimTimer_->isValid()) || (offTimer_ && offTimer_->isValid());
}

void SBIdleTimer::setDisabled(bool disabled)
{
    disabled_ = disabled;
    reset();
}

void SBIdleTimer::reset()
{
    if (state_ == SBIdleState::Off)
        return;
    state_ = SBIdleState::Awake;
    if (disabled_)
        stopCountdown();
    else
        startCountdown();
}

void SBIdleTimer::screenTurnedOff()
{
    stopCountdown();
    state_ = SBIdleState::Off;
}

void SBIdleTimer::screenTurnedOn()
{
    state_ = SBIdleState::Awake;
    if (disabled_)
        stopCountdown();
    else
        startCountdown();
}

void SBIdleTimer::startCountdown()
{
    stopCountdown();
    // The timers hold only a raw back reference: the destructor invalidates them first.
    dimTimer_ = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(kDimAfter, false,
                                                                    [this](const std::shared_ptr<NSTimer>&) { dim(); });
    offTimer_ = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(kOffAfter, false,
                                                                    [this](const std::shared_ptr<NSTimer>&) { turnOff(); });
}

void SBIdleTimer::stopCountdown()
{
    if (dimTimer_)
        dimTimer_->invalidate();
    if (offTimer_)
        offTimer_->invalidate();
    dimTimer_.reset();
    offTimer_.reset();
}

void SBIdleTimer::dim()
{
    if (state_ == SBIdleState::Awake)
        state_ = SBIdleState::Dimmed;
}

void SBIdleTimer::turnOff()
{
    stopCountdown();
    state_ = SBIdleState::Off;
    if (onScreenOff_)
        onScreenOff_();
}
