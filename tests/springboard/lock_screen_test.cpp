// The lock screen view: its content underlay follows its requesters, the media controls hide
// on request, and a layout pass places the list and shows the time.
#include "springboard_fixture.h"

#include "foundation/ns_array.h"
#include "foundation/clock.h"
#include "foundation/ns_string.h"
#include "springboard/springboard.h"

#include <gtest/gtest.h>

using objc::operator""_sel;

namespace {

class SpringBoardLockScreen : public sbtest::SpringBoardTest {};

} // namespace

TEST_F(SpringBoardLockScreen, UnderlayShowsWhileRequestedAndTheListRequestsItWhileItHasItems)
{
    SpringBoard sb;
    auto lock = sb.lockScreenView();
    EXPECT_FALSE(sb.isContentUnderlayShown());

    auto item = sb.addBulletin("com.apple.MobileSMS", "A", "1");
    EXPECT_TRUE(sb.isContentUnderlayShown());
    sb.addBulletin("com.apple.MobileSMS", "B", "2");
    EXPECT_EQ(lock->contentUnderlayRequesters()->count(), 1u);

    auto requester = NSString::stringWithString("test");
    objc::msgSend(lock, "_addLockContentUnderlayWithRequester:"_sel, objc::id(requester));
    objc::msgSend(lock, "_addLockContentUnderlayWithRequester:"_sel, objc::id(requester));
    EXPECT_EQ(lock->contentUnderlayRequesters()->count(), 2u);

    sb.clearForNotificationCenter();
    EXPECT_TRUE(sb.isContentUnderlayShown());
    objc::msgSend(lock, "_removeLockContentUnderlayWithRequester:"_sel, objc::id(requester));
    EXPECT_FALSE(sb.isContentUnderlayShown());
    EXPECT_TRUE(lock->underlayView()->isHidden());
}

TEST_F(SpringBoardLockScreen, RequesterListsAreValidRequestersButNeverHoldThemselves)
{
    SpringBoard sb;
    auto lock = sb.lockScreenView();
    auto content = objc::object_getIvar(lock.get(), objc::class_getInstanceVariable(lock->isa(), "_contentUnderlayRequesters"));
    auto media = objc::object_getIvar(lock.get(), objc::class_getInstanceVariable(lock->isa(), "_mediaControlsHiddenRequesters"));
    ASSERT_NE(content, nullptr);
    ASSERT_NE(media, nullptr);

    objc::msgSend(lock, "_addLockContentUnderlayWithRequester:"_sel, content);
    EXPECT_EQ(lock->contentUnderlayRequesters()->count(), 0u);
    objc::msgSend(lock, "_addLockContentUnderlayWithRequester:"_sel, objc::id());
    EXPECT_FALSE(sb.isContentUnderlayShown());

    // What an injected library passes along instead: the other list, an ordinary object.
    objc::msgSend(lock, "_setMediaControlsHidden:forRequester:"_sel, true, objc::id(NSString::stringWithString("x")));
    objc::msgSend(lock, "_addLockContentUnderlayWithRequester:"_sel, media);
    objc::msgSend(lock, "_addLockContentUnderlayWithRequester:"_sel, media);
    EXPECT_EQ(lock->contentUnderlayRequesters()->count(), 1u);
    EXPECT_TRUE(sb.isContentUnderlayShown());
}

TEST_F(SpringBoardLockScreen, MediaControlsHideWhileRequestedWithoutUndoingOthersHiding)
{
    installNowPlayingPlugin();
    SpringBoard sb;
    auto art = sb.startMedia();
    ASSERT_NE(art, nullptr);
    auto lock = sb.lockScreenView();
    auto requester = objc::id(NSString::stringWithString("SBMediaHider"));

    objc::msgSend(lock, "_setMediaControlsHidden:forRequester:"_sel, true, requester);
    EXPECT_TRUE(lock->areMediaControlsHidden());
    EXPECT_TRUE(art->isHidden());
    objc::msgSend(lock, "_setMediaControlsHidden:forRequester:"_sel, false, requester);
    EXPECT_FALSE(art->isHidden());

    art->setHidden(true); // hidden by someone else
    objc::msgSend(lock, "_setMediaControlsHidden:forRequester:"_sel, true, requester);
    objc::msgSend(lock, "_setMediaControlsHidden:forRequester:"_sel, false, requester);
    EXPECT_TRUE(art->isHidden());
}

TEST_F(SpringBoardLockScreen, LayoutShowsTheTimeOfThePlatformClock)
{
    SpringBoard sb;
    sb.layout();
    EXPECT_FALSE(sb.lockScreenView()->timeLabel()->text().empty());
    const std::string before = sb.lockScreenView()->timeLabel()->text();
    foundation::setNow(sbtest::kStartOfTests + 3600 + 60);
    sb.layout();
    EXPECT_NE(sb.lockScreenView()->timeLabel()->text(), before);
    EXPECT_FALSE(sb.lockScreenView()->dateLabel()->text().empty());
    ASSERT_NE(sb.lockScreenView()->layer()->contents(), nullptr);
    EXPECT_EQ(sb.lockScreenView()->layer()->contents()->pixelHeight(), 1136);
}
