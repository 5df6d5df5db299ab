#include "clock_fixture.h"

#include "foundation/perform.h"

#include <gtest/gtest.h>

#include <vector>

using namespace objc;

namespace {

class PerformTarget : public Object {
    OBJC_CLASS(PerformTarget, Object)
public:
    void ping() { times.push_back(foundation::now()); }
    void take(const id& object) { objects.push_back(object); }
    // Asks for the next step with delay 0 from inside a delayed perform.
    void chain()
    {
        ++chained;
        if (chained < 3)
            foundation::performSelectorWithObjectAfterDelay(self(), "chain"_sel, nullptr, 0);
    }
    std::vector<double> times;
    std::vector<id> objects;
    int chained = 0;
};

} // namespace

OBJC_REGISTER(PerformTarget,
    c.method<&PerformTarget::ping>("ping");
    c.method<&PerformTarget::take>("take:");
    c.method<&PerformTarget::chain>("chain");)

using ServicesPerforms = ServicesTest;

TEST_F(ServicesPerforms, DelayZeroRunsOnTheNextPassNotInsideTheCall)
{
    auto target = std::make_shared<PerformTarget>();
    auto object = std::make_shared<Object>();
    foundation::performSelectorWithObjectAfterDelay(target, "take:"_sel, object, 0);
    foundation::performSelectorWithObjectAfterDelay(target, "ping"_sel, nullptr, 0);
    EXPECT_TRUE(target->objects.empty());
    EXPECT_TRUE(target->times.empty());

    EXPECT_TRUE(NSRunLoop::mainRunLoop()->runOnce(0));
    EXPECT_EQ(target->objects, std::vector<id>{object});
    EXPECT_EQ(target->times, std::vector<double>{kStart});
}

TEST_F(ServicesPerforms, APerformAskedForDuringAPassWaitsForTheNextPass)
{
    auto target = std::make_shared<PerformTarget>();
    foundation::performSelectorWithObjectAfterDelay(target, "chain"_sel, nullptr, 0);
    auto loop = NSRunLoop::mainRunLoop();
    loop->runOnce(0);
    EXPECT_EQ(target->chained, 1);
    loop->runOnce(0);
    EXPECT_EQ(target->chained, 2);
    loop->runOnce(0);
    loop->runOnce(0);
    EXPECT_EQ(target->chained, 3);
}

TEST_F(ServicesPerforms, DelayedPerformRunsWhenTheClockReachesIt)
{
    auto target = std::make_shared<PerformTarget>();
    foundation::performSelectorWithObjectAfterDelay(target, "ping"_sel, nullptr, 2);
    foundation::advanceClock(1.5);
    NSRunLoop::mainRunLoop()->runOnce(0);
    EXPECT_TRUE(target->times.empty());
    foundation::advanceClock(0.5);
    EXPECT_EQ(target->times, std::vector<double>{kStart + 2});
}

TEST_F(ServicesPerforms, CancellingDropsTheTargetsRequestsAndLetsGoOfThem)
{
    auto kept = std::make_shared<PerformTarget>();
    std::weak_ptr<PerformTarget> cancelled;
    {
        auto target = std::make_shared<PerformTarget>();
        cancelled = target;
        foundation::performSelectorWithObjectAfterDelay(target, "ping"_sel, nullptr, 1);
        foundation::performSelectorWithObjectAfterDelay(target, "ping"_sel, nullptr, 0);
    }
    foundation::performSelectorWithObjectAfterDelay(kept, "ping"_sel, nullptr, 1);
    ASSERT_FALSE(cancelled.expired()); // a waiting request holds its target

    foundation::cancelPreviousPerformRequestsWithTarget(cancelled.lock());
    EXPECT_TRUE(cancelled.expired());
    foundation::advanceClock(1);
    EXPECT_EQ(kept->times.size(), 1u);
}

TEST_F(ServicesPerforms, CancellingBySelectorAndObjectLeavesTheOthers)
{
    auto target = std::make_shared<PerformTarget>();
    auto first = std::make_shared<Object>();
    auto second = std::make_shared<Object>();
    foundation::performSelectorWithObjectAfterDelay(target, "take:"_sel, first, 1);
    foundation::performSelectorWithObjectAfterDelay(target, "take:"_sel, second, 1);
    foundation::performSelectorWithObjectAfterDelay(target, "ping"_sel, nullptr, 1);

    foundation::cancelPreviousPerformRequestsWithTargetSelectorObject(target, "take:"_sel, first);
    foundation::advanceClock(1);
    EXPECT_EQ(target->objects, std::vector<id>{second});
    EXPECT_EQ(target->times.size(), 1u);
}

TEST_F(ServicesPerforms, EveryObjectAnswersThePerformMessages)
{
    auto target = std::make_shared<PerformTarget>();
    msgSend(target, "performSelector:withObject:afterDelay:"_sel, "ping"_sel, nullptr, 0.0);
    NSRunLoop::mainRunLoop()->runOnce(0);
    EXPECT_EQ(target->times.size(), 1u);

    msgSend(target, "performSelector:withObject:afterDelay:"_sel, "ping"_sel, nullptr, 5.0);
    msgSend(PerformTarget::class_(), "cancelPreviousPerformRequestsWithTarget:"_sel, target);
    foundation::advanceClock(5);
    EXPECT_EQ(target->times.size(), 1u);

    // A nil target asks for nothing.
    foundation::performSelectorWithObjectAfterDelay(nullptr, "ping"_sel, nullptr, 0);
    EXPECT_TRUE(NSRunLoop::mainRunLoop()->scheduledTimers().empty());
}
