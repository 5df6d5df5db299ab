#include "tweak/core/hook_table.h"

#include "tweak/lockscreen/lock_screen_view.h"
#include "tweak/lockscreen/notification_list_controller.h"
#include "tweak/lockscreen/notification_list_view.h"
#include "tweak/lockscreen/now_playing_art_view.h"

namespace vantorel {

namespace {

template <class F>
objc::IMP imp(F* function)
{
    return reinterpret_cast<objc::IMP>(function);
}

template <class F>
objc::IMP* slot(F** saved)
{
    return reinterpret_cast<objc::IMP*>(saved);
}

constexpr auto Replace = HookRow::Kind::Replace;
constexpr auto Add = HookRow::Kind::Add;
constexpr const char* ListView = "SBLockScreenNotificationListView";
constexpr const char* ListController = "SBLockScreenNotificationListController";
constexpr const char* LockScreenView = "SBLockScreenView";
constexpr const char* NowPlayingArtView = "_NowPlayingArtView";

} // namespace

const std::array<HookRow, 19>& hookTable()
{
    using namespace listview;
    using namespace listcontroller;
    static const std::array<HookRow, 19> table{{
        {ListView, "layoutSubviews", Replace, imp(&layoutSubviews), slot(&orig_layoutSubviews), nullptr},
        {ListView, "shouldDisplayIndexPath:", Add, imp(&shouldDisplayIndexPath), nullptr, "B@:@"},
        {ListView, "tableView:heightForRowAtIndexPath:", Replace, imp(&tableViewHeightForRowAtIndexPath),
         slot(&orig_tableViewHeightForRowAtIndexPath), nullptr},
        {ListView, "scrollViewDidEndDragging:willDecelerate:", Replace, imp(&scrollViewDidEndDraggingWillDecelerate),
         slot(&orig_scrollViewDidEndDraggingWillDecelerate), nullptr},
        {ListView, "cornerRadiusHook", Add, imp(&cornerRadiusHook), nullptr, "v@:"},
        {ListView, "normalizePrevTap", Add, imp(&normalizePrevTap), nullptr, "v@:"},
        {ListView, "imgCalenderTapped", Add, imp(&imgCalenderTapped), nullptr, "v@:"},
        {ListView, "imgNotificationsTapped", Add, imp(&imgNotificationsTapped), nullptr, "v@:"},
        {ListView, "initWithFrame:", Replace, imp(&initWithFrame), slot(&orig_initWithFrame), nullptr},
        {ListView, "selectedWidgetClass:", Add, imp(&selectedWidgetClass), nullptr, "v@:#"},
        {ListController, "_hardwareButtonPressed:", Replace, imp(&hardwareButtonPressed),
         slot(&orig_hardwareButtonPressed), nullptr},
        {ListController, "_updateModelAndViewForAdditionOfItem:", Replace, imp(&updateModelAndViewForAdditionOfItem),
         slot(&orig_updateModelAndViewForAdditionOfItem), nullptr},
        {ListController, "_updateModelForRemovalOfItem:updateView:", Replace,
         imp(&updateModelForRemovalOfItemUpdateView), slot(&orig_updateModelForRemovalOfItemUpdateView), nullptr},
        {ListController, "prepareForTeardown", Replace, imp(&prepareForTeardown), slot(&orig_prepareForTeardown),
         nullptr},
        {ListController, "clearItemsForNotificationCenter", Replace, imp(&clearItemsForNotificationCenter),
         slot(&orig_clearItemsForNotificationCenter), nullptr},
        {ListController, "setInScreenOffMode:", Replace, imp(&setInScreenOffMode), slot(&orig_setInScreenOffMode),
         nullptr},
        {LockScreenView, "layoutSubviews", Replace, imp(&lockscreenview::layoutSubviews),
         slot(&lockscreenview::orig_layoutSubviews), nullptr},
        {LockScreenView, "_addLockContentUnderlayWithRequester:", Replace,
         imp(&lockscreenview::addLockContentUnderlayWithRequester),
         slot(&lockscreenview::orig_addLockContentUnderlayWithRequester), nullptr},
        {NowPlayingArtView, "initWithFrame:", Replace, imp(&nowplaying::initWithFrame),
         slot(&nowplaying::orig_initWithFrame), nullptr},
    }};
    return table;
}

void installHookTable()
{
    for (const HookRow& row : hookTable()) {
        objc::Class cls = objc::objc_getClass(row.className);
        objc::SEL sel = objc::sel_registerName(row.selector);
        if (row.kind == HookRow::Kind::Replace)
            objc::MSHookMessageEx(cls, sel, row.implementation, row.savedSlot);
        else
            objc::class_addMethod(cls, sel, row.implementation, row.encoding);
    }
}

} // namespace vantorel
