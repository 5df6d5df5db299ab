// The host's idle timer: without user activity the screen dims after kDimAfter seconds and
// turns off after kOffAfter seconds. Counted by timers on the main run loop, so tests drive it
// with the virtual clock.
//
// Disabling stops the countdown (a dimmed screen brightens again) until it is enabled, which
// starts a full countdown; resetting (user activity) brightens a dimmed screen and starts a full
// countdown unless the timer is disabled. A screen that is off stays off until screenTurnedOn().
#pragma once

#include <functional>
#include <memory>

class NSTimer;

enum class SBIdleState { Awake, Dimmed, Off };

const char* SBIdleStateName(SBIdleState state); // "awake", "dimmed", "off"

class SBIdleTimer {
public:
    static constexpr double kDimAfter = 8.0;
    static constexpr double kOffAfter = 10.0;

    // onScreenOff runs when the countdown turns the screen off.
    explicit SBIdleTimer(std::function<void()> onScreenOff);
    ~SBIdleTimer();
    SBIdleTimer(const SBIdleTimer&) = delete;
    SBIdleTimer& operator=(const SBIdleTimer&) = delete;

    SBIdleState state() const { return state_; }
    bool isDisabled() const { return disabled_; }
    // Whether a countdown is running.
    bool isCounting() const;

    void setDisabled(bool disabled);
    void reset();
    // The screen was turned off (by the lock button or by the countdown): no countdown while off.
    void screenTurnedOff();
    // The screen was turned on: awake, full countdown (unless disabled).
    void screenTurnedOn();

private:
    void startCountdown();
    void stopCountdown();
    void dim();
    void turnOff();

    std::function<void()> onScreenOff_;
    SBIdleState state_ = SBIdleState::Awake;
    bool disabled_ = false;
    std::shared_ptr<NSTimer> dimTimer_;
    std::shared_ptr<NSTimer> offTimer_;
};
