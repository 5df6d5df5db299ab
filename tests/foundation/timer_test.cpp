#include "clock_fixture.h"

#include "foundation/date.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace objc;

namespace {

class TimerTarget : public Object {
    OBJC_CLASS(TimerTarget, Object)
public:
    void tick() { times.push_back(foundation::now()); }
    void tickFrom(const id& sender) { senders.push_back(sender); }
    std::vector<double> times;
    std::vector<id> senders;
};

} // namespace

OBJC_REGISTER(TimerTarget,
    c.method<&TimerTarget::tick>("tick");
    c.method<&TimerTarget::tickFrom>("tickFrom:");)

using ServicesTimers = ServicesTest;

TEST_F(ServicesTimers, RepeatingTimerFiresEveryIntervalWithoutDrift)
{
    auto target = std::make_shared<TimerTarget>();
    auto timer = NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(300, target, "tick"_sel, nullptr, true);

    foundation::advanceClock(299);
    EXPECT_TRUE(target->times.empty());
    foundation::advanceClock(701);
    EXPECT_EQ(target->times, (std::vector<double>{kStart + 300, kStart + 600, kStart + 900}));
    EXPECT_EQ(foundation::now(), kStart + 1000);
    EXPECT_EQ(timer->fireDate()->timeIntervalSince1970(), kStart + 1200);
    EXPECT_TRUE(timer->isValid());
    EXPECT_EQ(timer->timeInterval(), 300);
}

TEST_F(ServicesTimers, TimersFireInTimeOrderEachAtItsOwnTime)
{
    std::vector<std::pair<std::string, double>> fired;
    auto record = [&](std::string label) {
        return [&fired, label](const std::shared_ptr<NSTimer>&) { fired.emplace_back(label, foundation::now() - kStart); };
    };
    NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(5, false, record("once"));
    NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(2, true, record("every2"));
    NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(4, false, record("first at 4"));
    NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(4, false, record("second at 4"));

    foundation::advanceClock(7);
    // At 4 the repeating timer comes last: equal times go first come, first served, and its
    // second firing was scheduled only when it fired at 2.
    using Firing = std::pair<std::string, double>;
    EXPECT_EQ(fired, (std::vector<Firing>{{"every2", 2}, {"first at 4", 4}, {"second at 4", 4}, {"every2", 4},
                                          {"once", 5}, {"every2", 6}}));
}

TEST_F(ServicesTimers, ActionTakesNoArgumentOrTheTimerWithItsUserInfo)
{
    auto target = std::make_shared<TimerTarget>();
    auto info = std::make_shared<Object>();
    auto plain = NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(1, target, "tick"_sel, nullptr, false);
    auto withSender =
        NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(1, target, "tickFrom:"_sel, info, false);
    EXPECT_EQ(withSender->userInfo(), info);

    foundation::advanceClock(1);
    EXPECT_EQ(target->times, std::vector<double>{kStart + 1});
    ASSERT_EQ(target->senders.size(), 1u);
    EXPECT_EQ(target->senders[0], withSender);
    // One-shot timers are done once they fired.
    EXPECT_FALSE(plain->isValid());
    EXPECT_FALSE(withSender->isValid());
    EXPECT_TRUE(NSRunLoop::mainRunLoop()->scheduledTimers().empty());
}

TEST_F(ServicesTimers, RunLoopKeepsScheduledTimersAndTheirTargetsUntilInvalidated)
{
    std::weak_ptr<TimerTarget> watched;
    std::weak_ptr<NSTimer> watchedTimer;
    {
        auto target = std::make_shared<TimerTarget>();
        watched = target;
        watchedTimer = NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(10, target, "tick"_sel,
                                                                                              nullptr, true);
    }
    ASSERT_FALSE(watched.expired());
    foundation::advanceClock(25);
    EXPECT_EQ(watched.lock()->times.size(), 2u);

    auto timer = watchedTimer.lock();
    ASSERT_TRUE(timer);
    timer->invalidate();
    EXPECT_FALSE(timer->isValid());
    EXPECT_TRUE(watched.expired());
    timer.reset();
    EXPECT_TRUE(watchedTimer.expired());
    foundation::advanceClock(100); // nothing left to fire
}

TEST_F(ServicesTimers, InvalidatingFromInsideTheActionStopsARepeatingTimer)
{
    int runs = 0;
    NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(1, true, [&](const std::shared_ptr<NSTimer>& timer) {
        if (++runs == 3)
            timer->invalidate();
    });
    foundation::advanceClock(10);
    EXPECT_EQ(runs, 3);
}

TEST_F(ServicesTimers, FireSendsAtOnceAndKeepsARepeatingSchedule)
{
    auto target = std::make_shared<TimerTarget>();
    auto repeating = NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(60, target, "tick"_sel, nullptr, true);
    repeating->fire();
    EXPECT_EQ(target->times, std::vector<double>{kStart});
    EXPECT_TRUE(repeating->isValid());
    EXPECT_EQ(repeating->fireDate()->timeIntervalSince1970(), kStart + 60);

    auto once = NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(60, target, "tick"_sel, nullptr, false);
    once->fire();
    EXPECT_FALSE(once->isValid());
    once->fire(); // an invalid timer does nothing
    foundation::advanceClock(60);
    EXPECT_EQ(target->times, (std::vector<double>{kStart, kStart, kStart + 60}));
}

TEST_F(ServicesTimers, NonPositiveIntervalsTakeTheMinimumAndUnscheduledTimersWaitForAddTimer)
{
    int runs = 0;
    auto zero = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(-5, false, [&](const std::shared_ptr<NSTimer>&) { ++runs; });
    EXPECT_EQ(zero->timeInterval(), NSTimer::kMinimumInterval);

    auto loose = NSTimer::timerWithTimeIntervalRepeatsBlock(1, false, [&](const std::shared_ptr<NSTimer>&) { runs += 10; });
    foundation::advanceClock(2);
    EXPECT_EQ(runs, 1);
    loose->setFireDate(NSDate::dateWithTimeIntervalSinceNow(1));
    NSRunLoop::mainRunLoop()->addTimer(loose);
    foundation::advanceClock(1);
    EXPECT_EQ(runs, 11);
}

TEST_F(ServicesTimers, ScheduledThroughTheRuntime)
{
    auto target = std::make_shared<TimerTarget>();
    auto timer = msgSend<std::shared_ptr<NSTimer>>(
        NSTimer::class_(), "scheduledTimerWithTimeInterval:target:selector:userInfo:repeats:"_sel, 300.0, target,
        "tick"_sel, nullptr, true);
    ASSERT_TRUE(timer);
    foundation::advanceClock(600);
    EXPECT_EQ(target->times.size(), 2u);
    msgSend(timer, "invalidate"_sel);
    EXPECT_FALSE(msgSend<bool>(timer, "isValid"_sel));
}
