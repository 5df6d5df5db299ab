// What an injected library sends to the host and its toolkit by name answers through the runtime
// in the real host program: a message to a member that does not answer would stop the host.
#include "springboard_fixture.h"

#include "springboard/springboard.h"
#include "support/child_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace {

struct Question {
    std::string text;
    bool answers = true;
};

const Question kInterface[] = {
    // The now-playing plug-in, loaded as the library loads it.
    {std::string("open ") + SpringBoard::kNowPlayingPluginPath},
    {"ivar SBLockScreenNotificationListView _containerView"},
    {"ivar SBLockScreenNotificationListView _tableView"},
    {"ivar SBLockScreenNotificationListView _topPocketView"},
    {"ivar SBLockScreenNotificationListView _bottomPocketView"},
    {"ivar SBLockScreenNotificationListView _model"},
    {"method SBLockScreenNotificationListView _disableIdleTimer:"},
    {"method SBLockScreenNotificationListView _resetAllFadeTimers"},
    {"method SBLockScreenNotificationListView initWithFrame:"},
    {"method SBLockScreenNotificationListView layoutSubviews"},
    {"method SBLockScreenNotificationListView tableView:heightForRowAtIndexPath:"},
    {"method SBLockScreenNotificationListView scrollViewDidEndDragging:willDecelerate:"},
    {"method SBLockScreenNotificationModel listItemAtIndexPath:"},
    {"ivar SBLockScreenNotificationListController _notificationView"},
    {"ivar SBLockScreenNotificationListController _listItems"},
    {"method SBLockScreenNotificationListController _hardwareButtonPressed:"},
    {"method SBLockScreenNotificationListController _updateModelAndViewForAdditionOfItem:"},
    {"method SBLockScreenNotificationListController _updateModelForRemovalOfItem:updateView:"},
    {"method SBLockScreenNotificationListController prepareForTeardown"},
    {"method SBLockScreenNotificationListController clearItemsForNotificationCenter"},
    {"method SBLockScreenNotificationListController setInScreenOffMode:"},
    {"method NSNotification name"},
    {"ivar SBLockScreenView _contentUnderlayRequesters"},
    {"ivar SBLockScreenView _mediaControlsHiddenRequesters"},
    {"method SBLockScreenView layoutSubviews"},
    {"method SBLockScreenView _addLockContentUnderlayWithRequester:"},
    {"method _NowPlayingArtView initWithFrame:"},
    {"method SBAwayBulletinListItem activeBulletin"},
    {"method SBAwayBulletinListItem iconImage"},
    {"method BBBulletin sectionID"},
    {"method SBAwayCardListItem cardItem"},
    {"method SBAwayCardListItem cardThumbnail"},
    {"method SBCardItem identifier"},
    {"method SBAwaySystemAlertItem title"},
    {"method SBAwaySystemAlertItem iconImage"},
    {"classmethod SBApplicationController sharedInstance"},
    {"method SBApplicationController+sharedInstance applicationWithBundleIdentifier:|applicationWithDisplayIdentifier:"},
    {"method SBApplicationIcon initWithApplication:"},
    {"method SBApplicationIcon generateIconImage:"},
    {"classmethod UIImage _applicationIconImageForBundleIdentifier:format:scale:"},
    {"classmethod UIApplication sharedApplication"},
    {"method UIApplication _relaunchSpringBoardNow"},
    {"method _UIBackdropView initWithStyle:"},
    {"method _UIBackdropView inputSettings"},
    {"method _UIBackdropViewSettings setColorTint:"},
    {"method _UIBackdropViewSettings setColorTintAlpha:"},
    {"method _UIBackdropView setBlurRadiusSetOnce:"},
    {"method _UIBackdropView setBlurRadius:"},
    {"method _UIBackdropView setBlurQuality:"},
    {"method _UIBackdropView blurQuality"},
    // The probe can tell a member that is not there.
    {"method _UIBackdropView setBlurQuality", false},
    {"ivar SBLockScreenView _containerView", false},
    {"classmethod SBApplicationIcon initWithApplication:", false},
};

class HostInterfaceTest : public sbtest::SpringBoardTest {};

} // namespace

TEST_F(HostInterfaceTest, EveryMemberAnInjectedLibraryUsesAnswersInTheHostProgram)
{
    installNowPlayingPlugin();
    installSubstrateLibrary("libspringboard_host_probe.so", "HostProbe", sbtest::filterPlist("Bundles", "com.apple.springboard"));
    std::string ask;
    for (const Question& q : kInterface)
        ask += q.text + "\n";
    device.writeFile("/var/tmp/HostProbe.ask", ask);

    testsupport::ChildProcess host({sbtest::builtProgram("springboard")});
    ASSERT_TRUE(host.started());
    ASSERT_THAT(host.readLine().value_or(""), ::testing::StartsWith("ready "));
    EXPECT_EQ(host.ask("quit"), "ok");
    EXPECT_EQ(host.wait(), 0);

    std::ifstream answers(device.host("/var/tmp/HostProbe.answers"));
    std::vector<std::string> got;
    for (std::string line; std::getline(answers, line);)
        got.push_back(line);
    std::vector<std::string> expected;
    for (const Question& q : kInterface)
        expected.push_back(q.text + (q.answers ? " = yes" : " = no"));
    EXPECT_EQ(got, expected);
}
