// The host's idle timer on the virtual clock: the screen dims, then turns off; disabling keeps
// it awake; resetting restarts the countdown.
#include "springboard_fixture.h"

#include "foundation/clock.h"
#include "springboard/springboard.h"

#include <gtest/gtest.h>

using objc::operator""_sel;

namespace {

class SpringBoardIdleTimer : public sbtest::SpringBoardTest {};

} // namespace

TEST_F(SpringBoardIdleTimer, ScreenDimsThenTurnsOffAndTellsTheController)
{
    SpringBoard sb;
    foundation::advanceClock(SBIdleTimer::kDimAfter - 0.5);
    EXPECT_EQ(sb.idleState(), SBIdleState::Awake);
    foundation::advanceClock(1);
    EXPECT_EQ(sb.idleState(), SBIdleState::Dimmed);
    EXPECT_FALSE(sb.isScreenOff());
    foundation::advanceClock(SBIdleTimer::kOffAfter - SBIdleTimer::kDimAfter);
    EXPECT_EQ(sb.idleState(), SBIdleState::Off);
    EXPECT_TRUE(sb.isScreenOff());
    EXPECT_TRUE(sb.controller()->isInScreenOffMode());

    // It stays off; the home button wakes it for a full countdown.
    foundation::advanceClock(60);
    EXPECT_EQ(sb.idleState(), SBIdleState::Off);
    sb.pressHomeButton();
    EXPECT_EQ(sb.idleState(), SBIdleState::Awake);
    EXPECT_FALSE(sb.controller()->isInScreenOffMode());
    foundation::advanceClock(SBIdleTimer::kDimAfter - 0.5);
    EXPECT_EQ(sb.idleState(), SBIdleState::Awake);
}

TEST_F(SpringBoardIdleTimer, DisabledThroughTheListViewTheScreenStaysAwakeUntilEnabledAgain)
{
    SpringBoard sb;
    foundation::advanceClock(SBIdleTimer::kDimAfter + 0.5);
    ASSERT_EQ(sb.idleState(), SBIdleState::Dimmed);

    objc::msgSend(sb.listView(), "_disableIdleTimer:"_sel, true);
    EXPECT_EQ(sb.idleState(), SBIdleState::Awake);
    EXPECT_TRUE(sb.isIdleTimerDisabled());
    foundation::advanceClock(600);
    EXPECT_EQ(sb.idleState(), SBIdleState::Awake);
    EXPECT_FALSE(sb.isScreenOff());

    // Resetting while disabled does not restart the countdown.
    objc::msgSend(sb.listView(), "_resetAllFadeTimers"_sel);
    foundation::advanceClock(600);
    EXPECT_EQ(sb.idleState(), SBIdleState::Awake);

    objc::msgSend(sb.listView(), "_disableIdleTimer:"_sel, false);
    foundation::advanceClock(SBIdleTimer::kDimAfter - 0.5);
    EXPECT_EQ(sb.idleState(), SBIdleState::Awake);
    foundation::advanceClock(SBIdleTimer::kOffAfter);
    EXPECT_EQ(sb.idleState(), SBIdleState::Off);
}

TEST_F(SpringBoardIdleTimer, ResetRestartsTheCountdownAndActivityCountsAsReset)
{
    SpringBoard sb;
    foundation::advanceClock(7);
    objc::msgSend(sb.listView(), "_resetAllFadeTimers"_sel);
    foundation::advanceClock(7);
    EXPECT_EQ(sb.idleState(), SBIdleState::Awake);
    sb.tap(CGPointMake(160, 40));
    foundation::advanceClock(7);
    EXPECT_EQ(sb.idleState(), SBIdleState::Awake);
    sb.drag(CGPointMake(0, 40), false);
    foundation::advanceClock(7);
    EXPECT_EQ(sb.idleState(), SBIdleState::Awake);
    foundation::advanceClock(1.5);
    EXPECT_EQ(sb.idleState(), SBIdleState::Dimmed);
}

TEST_F(SpringBoardIdleTimer, TheIdleRestartSequenceOfAnInjectedLibraryKeepsTheCountdownRunning)
{
    SpringBoard sb;
    foundation::advanceClock(6);
    // Disable, enable, reset: what a library sends after each change of its own views.
    objc::msgSend(sb.listView(), "_disableIdleTimer:"_sel, true);
    objc::msgSend(sb.listView(), "_disableIdleTimer:"_sel, false);
    objc::msgSend(sb.listView(), "_resetAllFadeTimers"_sel);
    EXPECT_FALSE(sb.isIdleTimerDisabled());
    foundation::advanceClock(SBIdleTimer::kOffAfter + 0.5);
    EXPECT_EQ(sb.idleState(), SBIdleState::Off);
}

TEST_F(SpringBoardIdleTimer, LockButtonTurnsTheScreenOffAndOnAndTapsWhileOffDoNothing)
{
    SpringBoard sb;
    sb.pressLockButton();
    EXPECT_TRUE(sb.isScreenOff());
    EXPECT_EQ(sb.idleState(), SBIdleState::Off);
    EXPECT_EQ(sb.controller()->lastButtonName(), "SBLockButtonPressedNotification");
    sb.tap(CGPointMake(160, 300));
    EXPECT_EQ(sb.idleState(), SBIdleState::Off);
    sb.pressLockButton();
    EXPECT_FALSE(sb.isScreenOff());
    EXPECT_EQ(sb.idleState(), SBIdleState::Awake);
}
