// Every method of the host that an injected library replaces can be hooked through the runtime
// by class and selector name, and the host's own events reach the hook.
#include "springboard_fixture.h"

#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "springboard/springboard.h"
#include "uikit/index_path.h"

#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace objc;
using ::testing::Contains;

namespace {

std::vector<std::string> calls;

// What the list looked like inside the addition and removal hooks, after the host's own work,
// read by name as an injected library reads it.
struct ListSeen {
    long count = -1;
    bool containsItem = false;
};
ListSeen seenInAddition;
ListSeen seenInRemoval;
bool collapseRows = false;

ListSeen lookAtList(Object* controller, const id& item)
{
    auto list = std::dynamic_pointer_cast<NSMutableArray>(
        object_getIvar(controller, class_getInstanceVariable(object_getClass(controller), "_listItems")));
    ListSeen seen;
    if (!list)
        return seen;
    seen.count = static_cast<long>(list->count());
    for (const auto& entry : *list)
        seen.containsItem |= entry == item;
    return seen;
}

id (*listInitWithFrame)(Object*, SEL, CGRect);
id hookListInitWithFrame(Object* self, SEL cmd, CGRect frame)
{
    id view = listInitWithFrame(self, cmd, frame);
    calls.push_back("list initWithFrame:");
    return view;
}

void (*listLayout)(Object*, SEL);
void hookListLayout(Object* self, SEL cmd)
{
    listLayout(self, cmd);
    calls.push_back("list layoutSubviews");
}

double (*rowHeight)(Object*, SEL, const ObjectRef&, const ObjectRef&);
double hookRowHeight(Object* self, SEL cmd, const ObjectRef& table, const ObjectRef& indexPath)
{
    const double host = rowHeight(self, cmd, table, indexPath);
    calls.push_back("tableView:heightForRowAtIndexPath:");
    return collapseRows ? 0.0 : host;
}

void (*endDragging)(Object*, SEL, const ObjectRef&, bool);
void hookEndDragging(Object* self, SEL cmd, const ObjectRef& scrollView, bool decelerate)
{
    calls.push_back("scrollViewDidEndDragging:willDecelerate:");
    endDragging(self, cmd, scrollView, decelerate);
}

void (*buttonPressed)(Object*, SEL, const ObjectRef&);
void hookButtonPressed(Object* self, SEL cmd, const ObjectRef& notification)
{
    buttonPressed(self, cmd, notification);
    auto name = std::dynamic_pointer_cast<NSString>(msgSendIfResponds<id>(notification, "name"_sel));
    calls.push_back("_hardwareButtonPressed: " + (name ? name->string() : std::string("?")));
}

void (*addition)(Object*, SEL, const ObjectRef&);
void hookAddition(Object* self, SEL cmd, const ObjectRef& item)
{
    addition(self, cmd, item);
    seenInAddition = lookAtList(self, item);
    calls.push_back("_updateModelAndViewForAdditionOfItem:");
}

void (*removal)(Object*, SEL, const ObjectRef&, bool);
void hookRemoval(Object* self, SEL cmd, const ObjectRef& item, bool updateView)
{
    removal(self, cmd, item, updateView);
    seenInRemoval = lookAtList(self, item);
    calls.push_back("_updateModelForRemovalOfItem:updateView:");
}

void (*teardown)(Object*, SEL);
void hookTeardown(Object* self, SEL cmd)
{
    teardown(self, cmd);
    calls.push_back("prepareForTeardown");
}

void (*clearing)(Object*, SEL);
void hookClearing(Object* self, SEL cmd)
{
    clearing(self, cmd);
    calls.push_back("clearItemsForNotificationCenter");
}

void (*screenOffMode)(Object*, SEL, bool);
void hookScreenOffMode(Object* self, SEL cmd, bool off)
{
    screenOffMode(self, cmd, off);
    calls.push_back(std::string("setInScreenOffMode: ") + (off ? "YES" : "NO"));
}

void (*lockLayout)(Object*, SEL);
void hookLockLayout(Object* self, SEL cmd)
{
    lockLayout(self, cmd);
    calls.push_back("lock layoutSubviews");
}

void (*addUnderlay)(Object*, SEL, const ObjectRef&);
void hookAddUnderlay(Object* self, SEL cmd, const ObjectRef& requester)
{
    addUnderlay(self, cmd, requester);
    calls.push_back("_addLockContentUnderlayWithRequester:");
}

id (*artInitWithFrame)(Object*, SEL, CGRect);
id hookArtInitWithFrame(Object* self, SEL cmd, CGRect frame)
{
    id view = artInitWithFrame(self, cmd, frame);
    calls.push_back("art initWithFrame:");
    return view;
}

// The hooks stay for the life of the process, as an injected library's do; installed once.
void installHooks()
{
    static const bool installed = [] {
        Class list = objc_getClass("SBLockScreenNotificationListView");
        Class controller = objc_getClass("SBLockScreenNotificationListController");
        Class lock = objc_getClass("SBLockScreenView");
        MSHookMessageEx(list, "initWithFrame:"_sel, &hookListInitWithFrame, &listInitWithFrame);
        MSHookMessageEx(list, "layoutSubviews"_sel, &hookListLayout, &listLayout);
        MSHookMessageEx(list, "tableView:heightForRowAtIndexPath:"_sel, &hookRowHeight, &rowHeight);
        MSHookMessageEx(list, "scrollViewDidEndDragging:willDecelerate:"_sel, &hookEndDragging, &endDragging);
        MSHookMessageEx(controller, "_hardwareButtonPressed:"_sel, &hookButtonPressed, &buttonPressed);
        MSHookMessageEx(controller, "_updateModelAndViewForAdditionOfItem:"_sel, &hookAddition, &addition);
        MSHookMessageEx(controller, "_updateModelForRemovalOfItem:updateView:"_sel, &hookRemoval, &removal);
        MSHookMessageEx(controller, "prepareForTeardown"_sel, &hookTeardown, &teardown);
        MSHookMessageEx(controller, "clearItemsForNotificationCenter"_sel, &hookClearing, &clearing);
        MSHookMessageEx(controller, "setInScreenOffMode:"_sel, &hookScreenOffMode, &screenOffMode);
        MSHookMessageEx(lock, "layoutSubviews"_sel, &hookLockLayout, &lockLayout);
        MSHookMessageEx(lock, "_addLockContentUnderlayWithRequester:"_sel, &hookAddUnderlay, &addUnderlay);
        return true;
    }();
    (void)installed;
}

void installArtHook()
{
    static const bool installed = [] {
        MSHookMessageEx(objc_getClass("_NowPlayingArtView"), "initWithFrame:"_sel, &hookArtInitWithFrame,
                        &artInitWithFrame);
        return true;
    }();
    (void)installed;
}

class SpringBoardHooks : public sbtest::SpringBoardTest {
protected:
    void SetUp() override
    {
        SpringBoardTest::SetUp();
        installHooks();
        calls.clear();
        seenInAddition = {};
        seenInRemoval = {};
        collapseRows = false;
    }
};

} // namespace

TEST_F(SpringBoardHooks, EveryReplaceableMethodIsHookedAndReachedByTheHostsEvents)
{
    for (IMP* previous : {reinterpret_cast<IMP*>(&listInitWithFrame), reinterpret_cast<IMP*>(&listLayout),
                          reinterpret_cast<IMP*>(&rowHeight), reinterpret_cast<IMP*>(&endDragging),
                          reinterpret_cast<IMP*>(&buttonPressed), reinterpret_cast<IMP*>(&addition),
                          reinterpret_cast<IMP*>(&removal), reinterpret_cast<IMP*>(&teardown),
                          reinterpret_cast<IMP*>(&clearing), reinterpret_cast<IMP*>(&screenOffMode),
                          reinterpret_cast<IMP*>(&lockLayout), reinterpret_cast<IMP*>(&addUnderlay)})
        EXPECT_NE(*previous, nullptr);

    SpringBoard sb;
    EXPECT_THAT(calls, Contains("list initWithFrame:"));
    EXPECT_THAT(calls, Contains("list layoutSubviews"));
    EXPECT_THAT(calls, Contains("lock layoutSubviews"));

    calls.clear();
    auto item = sb.addBulletin("com.apple.MobileSMS", "Anna", "See you at eight");
    EXPECT_THAT(calls, Contains("_updateModelAndViewForAdditionOfItem:"));
    EXPECT_THAT(calls, Contains("_addLockContentUnderlayWithRequester:"));
    EXPECT_THAT(calls, Contains("tableView:heightForRowAtIndexPath:"));
    EXPECT_EQ(seenInAddition.count, 1);
    EXPECT_TRUE(seenInAddition.containsItem);

    calls.clear();
    sb.drag(CGPointMake(0, 80), false);
    EXPECT_THAT(calls, Contains("scrollViewDidEndDragging:willDecelerate:"));

    calls.clear();
    sb.pressHomeButton();
    sb.pressLockButton();
    sb.pressLockButton();
    std::erase_if(calls, [](const std::string& call) {
        return !call.starts_with("_hardwareButtonPressed:") && !call.starts_with("setInScreenOffMode:");
    });
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "_hardwareButtonPressed: SBMenuButtonPressedNotification",
                         "_hardwareButtonPressed: SBLockButtonPressedNotification",
                         "setInScreenOffMode: YES",
                         "_hardwareButtonPressed: SBLockButtonPressedNotification",
                         "setInScreenOffMode: NO",
                     }));

    calls.clear();
    EXPECT_TRUE(sb.removeItem(item));
    EXPECT_THAT(calls, Contains("_updateModelForRemovalOfItem:updateView:"));
    EXPECT_EQ(seenInRemoval.count, 0);
    EXPECT_FALSE(seenInRemoval.containsItem);

    calls.clear();
    sb.addSystemAlert("Low Battery");
    sb.teardownList();
    sb.addCard("com.apple.Passbook", "Boarding pass");
    sb.clearForNotificationCenter();
    EXPECT_THAT(calls, Contains("prepareForTeardown"));
    EXPECT_THAT(calls, Contains("clearItemsForNotificationCenter"));
    EXPECT_TRUE(sb.items().empty());

    calls.clear();
    sb.layout();
    EXPECT_THAT(calls, Contains("list layoutSubviews"));
    EXPECT_THAT(calls, Contains("lock layoutSubviews"));
}

TEST_F(SpringBoardHooks, AdditionHookSeesEveryEarlierItemToo)
{
    SpringBoard sb;
    auto first = sb.addBulletin("com.apple.mobilemail", "Mail", "Invoice");
    auto second = sb.addBulletin("com.apple.mobilemail", "Mail", "Reminder");
    EXPECT_EQ(seenInAddition.count, 2);
    EXPECT_TRUE(seenInAddition.containsItem);
    sb.removeItem(first);
    EXPECT_EQ(seenInRemoval.count, 1);
    EXPECT_FALSE(seenInRemoval.containsItem);
}

TEST_F(SpringBoardHooks, TheTableTakesItsRowHeightsFromTheHook)
{
    SpringBoard sb;
    sb.addBulletin("com.apple.MobileSMS", "Anna", "Hello");
    auto table = sb.listView()->tableView();
    EXPECT_EQ(table->rectForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(0, 0)).size.height,
              SBAwayBulletinListItem::kRowHeight);
    collapseRows = true;
    table->reloadData();
    EXPECT_EQ(table->rectForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(0, 0)).size.height, 0);
}

TEST_F(SpringBoardHooks, NowPlayingArtViewMadeByTheHostRunsTheHook)
{
    installNowPlayingPlugin();
    SpringBoard sb;
    ASSERT_NE(dlopen(device.host(SpringBoard::kNowPlayingPluginPath).c_str(), RTLD_NOW), nullptr);
    installArtHook();
    ASSERT_NE(artInitWithFrame, nullptr);
    calls.clear();
    auto art = sb.startMedia();
    ASSERT_NE(art, nullptr);
    EXPECT_THAT(calls, Contains("art initWithFrame:"));
    EXPECT_EQ(art->isa()->name(), "_NowPlayingArtView");
}
