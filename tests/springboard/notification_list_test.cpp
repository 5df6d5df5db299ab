// The notification list: the controller's one list object, the model over it, and the host's
// table with one row per item at the host's row heights.
#include "notification_list_view_test_api.h"
#include "springboard_fixture.h"

#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "springboard/sb_notification.h"
#include "springboard/springboard.h"
#include "uikit/index_path.h"
#include "uikit/label.h"
#include "uikit/table_view_cell.h"

#include <gtest/gtest.h>

using objc::operator""_sel;

namespace {

class SpringBoardNotificationList : public sbtest::SpringBoardTest {};

std::shared_ptr<NSIndexPath> row(long r) { return NSIndexPath::indexPathForRowInSection(r, 0); }

} // namespace

TEST_F(SpringBoardNotificationList, ScreenGeometryLeavesRoomForTheLibrarysViews)
{
    SpringBoard sb;
    EXPECT_EQ(sb.rootView()->frame(), CGRectMake(0, 0, 320, 568));
    EXPECT_EQ(sb.listView()->frame(), CGRectMake(0, 150, 320, 418));
    EXPECT_EQ(sb.listView()->containerView()->frame(), CGRectMake(0, 0, 320, 418));
    EXPECT_EQ(sb.listView()->topPocketView()->frame(), CGRectMake(0, 0, 320, 16));
    EXPECT_EQ(sb.listView()->tableView()->frame(), CGRectMake(0, 16, 320, 386));
    EXPECT_EQ(sb.listView()->bottomPocketView()->frame(), CGRectMake(0, 402, 320, 16));
    EXPECT_EQ(sb.listView()->tableView()->superview(), sb.listView()->containerView().get());
}

TEST_F(SpringBoardNotificationList, TableShowsOneRowPerItemNewestFirstAtTheHostsHeights)
{
    SpringBoard sb;
    auto bulletin = sb.addBulletin("com.apple.MobileSMS", "Anna", "Dinner at eight?");
    auto card = sb.addCard("com.apple.Passbook", "Boarding pass");
    auto alert = sb.addSystemAlert("Low Battery");

    auto table = sb.listView()->tableView();
    ASSERT_EQ(table->numberOfRowsInSection(0), 3);
    EXPECT_EQ(table->rectForRowAtIndexPath(row(0)), CGRectMake(0, 0, 320, SBAwaySystemAlertItem::kRowHeight));
    EXPECT_EQ(table->rectForRowAtIndexPath(row(1)).size.height, SBAwayCardListItem::kRowHeight);
    EXPECT_EQ(table->rectForRowAtIndexPath(row(2)),
              CGRectMake(0, SBAwaySystemAlertItem::kRowHeight + SBAwayCardListItem::kRowHeight, 320,
                         SBAwayBulletinListItem::kRowHeight));

    auto model = sb.listView()->model();
    EXPECT_EQ(objc::msgSend<objc::id>(model, "listItemAtIndexPath:"_sel, row(0)), alert);
    EXPECT_EQ(objc::msgSend<objc::id>(model, "listItemAtIndexPath:"_sel, row(2)), bulletin);
    EXPECT_EQ(objc::msgSend<objc::id>(model, "listItemAtIndexPath:"_sel, row(3)), nullptr);
    EXPECT_EQ(objc::msgSend<objc::id>(model, "listItemAtIndexPath:"_sel, NSIndexPath::indexPathForRowInSection(0, 1)),
              nullptr);

    auto cell = table->cellForRowAtIndexPath(row(2));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->textLabel()->text(), "Anna");
    EXPECT_EQ(cell->detailTextLabel()->text(), "Dinner at eight?");

    sb.removeItem(card);
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
    EXPECT_EQ(table->rectForRowAtIndexPath(row(1)).size.height, SBAwayBulletinListItem::kRowHeight);
}

TEST_F(SpringBoardNotificationList, ListItemsAnswerWhatTheLibraryAsks)
{
    SpringBoard sb;
    auto bulletin = sb.addBulletin("com.apple.mobilemail", "Tom", "Invoice attached");
    auto card = sb.addCard("com.apple.Passbook", "Boarding pass");
    auto alert = sb.addSystemAlert("Low Battery");

    auto bb = objc::msgSend<objc::id>(bulletin, "activeBulletin"_sel);
    EXPECT_EQ(objc::msgSend<std::shared_ptr<NSString>>(bb, "sectionID"_sel)->string(), "com.apple.mobilemail");
    EXPECT_EQ(objc::msgSend<std::shared_ptr<NSString>>(bb, "title"_sel)->string(), "Tom");
    EXPECT_EQ(objc::msgSend<std::shared_ptr<NSString>>(bb, "message"_sel)->string(), "Invoice attached");
    auto icon = objc::msgSend<std::shared_ptr<UIImage>>(bulletin, "iconImage"_sel);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->size(), CGSizeMake(29, 29));

    auto cardItem = objc::msgSend<objc::id>(card, "cardItem"_sel);
    EXPECT_EQ(objc::msgSend<std::shared_ptr<NSString>>(cardItem, "identifier"_sel)->string(), "com.apple.Passbook");
    auto thumbnail = objc::msgSend<std::shared_ptr<UIImage>>(card, "cardThumbnail"_sel);
    ASSERT_NE(thumbnail, nullptr);
    EXPECT_EQ(thumbnail, objc::msgSend<std::shared_ptr<UIImage>>(card, "cardThumbnail"_sel));

    EXPECT_EQ(objc::msgSend<std::shared_ptr<NSString>>(alert, "title"_sel)->string(), "Low Battery");
    EXPECT_NE(objc::msgSend<std::shared_ptr<UIImage>>(alert, "iconImage"_sel), nullptr);
}

TEST_F(SpringBoardNotificationList, ControllerKeepsOneListObjectThroughEveryChange)
{
    SpringBoard sb;
    auto controller = sb.controller();
    const auto list = objc::object_ivar<std::shared_ptr<NSMutableArray>>(controller.get(), "_listItems");
    EXPECT_EQ(list, sb.listView()->model()->listItems());
    EXPECT_EQ(objc::object_ivar<std::shared_ptr<SBLockScreenNotificationListView>>(controller.get(), "_notificationView"),
              sb.listView());

    auto first = sb.addBulletin("com.apple.MobileSMS", "A", "1");
    auto second = sb.addBulletin("com.apple.MobileSMS", "B", "2");
    EXPECT_EQ(list->count(), 2u);
    EXPECT_EQ(list->objectAtIndex(0), second);

    // The same item twice, or no item, changes nothing.
    sb.addItem(first);
    EXPECT_FALSE(sb.addItem(nullptr));
    objc::msgSend(controller, "_updateModelAndViewForAdditionOfItem:"_sel, objc::id());
    EXPECT_EQ(list->count(), 2u);

    // Removal without a view update still updates the list; the table follows at its next reload.
    objc::msgSend(controller, "_updateModelForRemovalOfItem:updateView:"_sel, objc::id(first), false);
    EXPECT_EQ(list->count(), 1u);
    EXPECT_FALSE(sb.removeItem(first));

    sb.clearForNotificationCenter();
    EXPECT_EQ(list->count(), 0u);
    EXPECT_EQ(objc::object_ivar<std::shared_ptr<NSMutableArray>>(controller.get(), "_listItems"), list);
    EXPECT_EQ(sb.listView()->tableView()->numberOfRowsInSection(0), 0);

    sb.addSystemAlert("Update available");
    sb.teardownList();
    EXPECT_TRUE(controller->isTornDown());
    EXPECT_EQ(list->count(), 0u);
    sb.addSystemAlert("Update available");
    EXPECT_FALSE(controller->isTornDown());
}

TEST_F(SpringBoardNotificationList, HardwareButtonsReachTheControllerByName)
{
    SpringBoard sb;
    sb.pressHomeButton();
    EXPECT_EQ(sb.controller()->lastButtonName(), "SBMenuButtonPressedNotification");
    // Any object, or none, is taken without harm.
    objc::msgSend(sb.controller(), "_hardwareButtonPressed:"_sel, objc::id(NSString::stringWithString("x")));
    EXPECT_EQ(sb.controller()->lastButtonName(), "");
    objc::msgSend(sb.controller(), "_hardwareButtonPressed:"_sel,
                  objc::id(NSNotification::notificationWithNameObject("SBVolumeUpButtonPressedNotification", nullptr)));
    EXPECT_EQ(sb.controller()->lastButtonName(), "SBVolumeUpButtonPressedNotification");
}

TEST_F(SpringBoardNotificationList, PullingTheListDownPastItsTopIsCounted)
{
    SpringBoard sb;
    NotificationListViewTestApi list(sb.listView().get());
    sb.addBulletin("com.apple.MobileSMS", "A", "1");
    sb.drag(CGPointMake(0, 80), false);
    EXPECT_EQ(list.pullDownCount(), 1);
    sb.drag(CGPointMake(0, -20), false);
    EXPECT_EQ(list.pullDownCount(), 1);
}
