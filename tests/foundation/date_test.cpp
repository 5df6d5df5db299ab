#include "clock_fixture.h"

#include "foundation/date.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

using namespace objc;

using ServicesClock = ServicesTest;

TEST_F(ServicesClock, VirtualClockMovesOnlyWhenSetOrAdvanced)
{
    EXPECT_TRUE(foundation::isVirtualClock());
    EXPECT_EQ(foundation::now(), kStart);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(foundation::now(), kStart);

    foundation::setNow(kStart + 5);
    EXPECT_EQ(foundation::now(), kStart + 5);
    foundation::advanceClock(10);
    EXPECT_EQ(foundation::now(), kStart + 15);
    foundation::advanceClock(-3);
    foundation::advanceClock(std::nan(""));
    foundation::advanceClock(INFINITY);
    EXPECT_EQ(foundation::now(), kStart + 15);

    EXPECT_EQ(NSDate::date()->timeIntervalSince1970(), kStart + 15);
    EXPECT_EQ(alloc<NSDate>()->timeIntervalSince1970(), kStart + 15);
    EXPECT_EQ(NSDate::dateWithTimeIntervalSinceNow(-15)->timeIntervalSince1970(), kStart);
}

TEST_F(ServicesClock, RealClockFollowsTheSystemTime)
{
    foundation::useRealClock();
    EXPECT_FALSE(foundation::isVirtualClock());
    EXPECT_NEAR(foundation::now(), double(std::time(nullptr)), 2.0);
    const double before = foundation::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GT(foundation::now(), before);
}

TEST_F(ServicesClock, DatesMeasureFromTheEpochAndTheReferenceDate)
{
    auto reference = NSDate::dateWithTimeIntervalSince1970(978307200);
    EXPECT_EQ(reference->timeIntervalSinceReferenceDate(), 0);
    EXPECT_EQ(reference->description(), "2001-01-01 00:00:00 +0000");
    EXPECT_EQ(NSDate::dateWithTimeIntervalSinceReferenceDate(60)->timeIntervalSince1970(), 978307260);
    EXPECT_EQ(NSDate::date()->description(), "2026-01-01 00:00:00 +0000");
    EXPECT_EQ(NSDate::dateWithTimeIntervalSince1970(std::nan(""))->description(), "(invalid date)");

    // Through the runtime, as system code reaches them.
    id now = msgSend<id>(NSDate::class_(), "date"_sel);
    EXPECT_EQ(msgSend<double>(now, "timeIntervalSince1970"_sel), kStart);
    EXPECT_EQ(msgSend<double>(now, "timeIntervalSinceReferenceDate"_sel), kStart - 978307200);
}

TEST_F(ServicesClock, DatesCompareByInstant)
{
    auto early = NSDate::dateWithTimeIntervalSince1970(100);
    auto late = NSDate::dateWithTimeIntervalSince1970(200);
    auto sameAsLate = NSDate::dateWithTimeIntervalSince1970(200);

    EXPECT_EQ(early->compare(late), -1);
    EXPECT_EQ(late->compare(early), 1);
    EXPECT_EQ(late->compare(sameAsLate), 0);
    EXPECT_EQ(early->compare(nullptr), 1);
    EXPECT_TRUE(late->isEqualToDate(sameAsLate));
    EXPECT_TRUE(late->isEqual(sameAsLate.get()));
    EXPECT_FALSE(late->isEqualToDate(nullptr));
    EXPECT_EQ(early->earlierDate(late), early);
    EXPECT_EQ(early->laterDate(late), late);
    EXPECT_EQ(early->laterDate(nullptr), early);
    EXPECT_EQ(late->timeIntervalSinceDate(early), 100);
    EXPECT_EQ(early->dateByAddingTimeInterval(100)->compare(late), 0);
    EXPECT_LT(NSDate::distantPast()->compare(early), 0);
    EXPECT_GT(NSDate::distantFuture()->compare(NSDate::date()), 0);
}
