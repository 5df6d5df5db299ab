#include "clock_fixture.h"

#include "foundation/date.h"
#include "foundation/perform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

double seconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

using ServicesRunLoop = ServicesTest;

TEST_F(ServicesRunLoop, OneMainRunLoopPerProcess)
{
    EXPECT_EQ(NSRunLoop::currentRunLoop(), NSRunLoop::mainRunLoop());
    std::shared_ptr<NSRunLoop> fromThread;
    std::thread([&] { fromThread = NSRunLoop::currentRunLoop(); }).join();
    EXPECT_EQ(fromThread, NSRunLoop::mainRunLoop());
    EXPECT_FALSE(objc::alloc<NSRunLoop>());
}

TEST_F(ServicesRunLoop, WorkHandedBackFromAnotherThreadWakesTheLoopAndRunsOnTheMainThread)
{
    auto loop = NSRunLoop::mainRunLoop();
    const auto mainThread = std::this_thread::get_id();
    bool ran = false;
    bool onMain = false;
    std::thread worker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        foundation::performOnMainThread([&] {
            ran = true;
            onMain = std::this_thread::get_id() == mainThread;
        });
    });
    const double started = seconds();
    // A single long pass: only the wake-up can end it early.
    loop->runOnce(10);
    worker.join();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(onMain);
    EXPECT_LT(seconds() - started, 9.0);
}

TEST_F(ServicesRunLoop, HandedBackWorkNeverRunsInsideTheCallThatHandsItOver)
{
    int runs = 0;
    foundation::performOnMainThread([&] { ++runs; });
    EXPECT_EQ(runs, 0);
    NSRunLoop::mainRunLoop()->runOnce(0);
    EXPECT_EQ(runs, 1);
}

TEST_F(ServicesRunLoop, RunUntilGivesUpAfterItsRealTimeout)
{
    const double started = seconds();
    EXPECT_FALSE(NSRunLoop::mainRunLoop()->runUntil([] { return false; }, 0.2));
    EXPECT_GE(seconds() - started, 0.19);
    EXPECT_TRUE(NSRunLoop::mainRunLoop()->runUntil([] { return true; }, 0));
}

TEST_F(ServicesRunLoop, WithTheVirtualClockWaitingNeverFiresATimerAhead)
{
    int runs = 0;
    NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(0.05, false, [&](const std::shared_ptr<NSTimer>&) { ++runs; });
    NSRunLoop::mainRunLoop()->runForSeconds(0.2);
    EXPECT_EQ(runs, 0);
    foundation::advanceClock(0.05);
    EXPECT_EQ(runs, 1);
}

TEST_F(ServicesRunLoop, WithTheRealClockTimersFireWhileTheLoopWaits)
{
    foundation::useRealClock();
    auto loop = NSRunLoop::mainRunLoop();
    int ticks = 0;
    auto timer = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(0.02, true, [&](const std::shared_ptr<NSTimer>&) { ++ticks; });
    const double scheduled = foundation::now();
    const double first = timer->fireDate()->timeIntervalSince1970();
    EXPECT_TRUE(loop->runUntil([&] { return ticks >= 3; }, 5));
    EXPECT_GE(foundation::now() - scheduled, 0.06);
    // The schedule stays on its grid: every firing time is a whole number of intervals on.
    const double steps = (timer->fireDate()->timeIntervalSince1970() - first) / 0.02;
    EXPECT_NEAR(steps, std::round(steps), 1e-3);
    timer->invalidate();

    bool performed = false;
    foundation::performOnMainThread([&] { performed = true; });
    const double before = seconds();
    loop->runUntilDate(NSDate::dateWithTimeIntervalSinceNow(0.1));
    EXPECT_TRUE(performed);
    EXPECT_GE(seconds() - before, 0.09);
}
