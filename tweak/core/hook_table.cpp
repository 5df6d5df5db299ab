#include "tweak/core/hook_table.h"

#include "tweak/lockscreen/lock_screen_view.h"
#include "tweak/lockscreen/notification_list_controller.h"
#include "tweak/lockscreen/notification_list_view.h"
#include "tweak/lockscreen/now_playing_art_view.h"

#include <string_view>
#include <vector>

namespace vantorel {

namespace detail {

void checkAddition(objc::Class cls, objc::SEL sel, const char* encoding)
{
    // An inherited method of the same name must take what the addition takes, or the host's own
    // callers would reach the library's function with other arguments.
    if (!cls)
        return;
    if (objc::Method m = cls->lookup(sel); m && std::string_view(m->types) != encoding)
        objc::detail::encodingMismatch(cls, sel, m->types, encoding);
}

} // namespace detail

std::span<const HookRow> hookTable()
{
    namespace listView = hooks::SBLockScreenNotificationListView;
    namespace controller = hooks::SBLockScreenNotificationListController;
    namespace lockScreen = hooks::SBLockScreenView;
    namespace nowPlaying = hooks::_NowPlayingArtView;
    constexpr const char* ListView = "SBLockScreenNotificationListView";
    constexpr const char* Controller = "SBLockScreenNotificationListController";
    constexpr const char* LockScreen = "SBLockScreenView";
    constexpr const char* NowPlaying = "_NowPlayingArtView";

    static const std::vector<HookRow> table{
        replaceRow<&listView::layoutSubviews>(ListView, "layoutSubviews"),
        addRow<&listView::shouldDisplayIndexPath>(ListView, "shouldDisplayIndexPath:"),
        replaceRow<&listView::tableViewHeightForRowAtIndexPath>(ListView, "tableView:heightForRowAtIndexPath:"),
        replaceRow<&listView::scrollViewDidEndDraggingWillDecelerate>(ListView,
                                                                       "scrollViewDidEndDragging:willDecelerate:"),
        addRow<&listView::cornerRadiusHook>(ListView, "cornerRadiusHook"),
        addRow<&listView::normalizePrevTap>(ListView, "normalizePrevTap"),
        addRow<&listView::imgCalenderTapped>(ListView, "imgCalenderTapped"),
        addRow<&listView::imgNotificationsTapped>(ListView, "imgNotificationsTapped"),
        replaceRow<&listView::initWithFrame>(ListView, "initWithFrame:"),
        addRow<&listView::selectedWidgetClass>(ListView, "selectedWidgetClass:"),
        replaceRow<&controller::_hardwareButtonPressed>(Controller, "_hardwareButtonPressed:"),
        replaceRow<&controller::_updateModelAndViewForAdditionOfItem>(Controller,
                                                                      "_updateModelAndViewForAdditionOfItem:"),
        replaceRow<&controller::_updateModelForRemovalOfItemUpdateView>(Controller,
                                                                        "_updateModelForRemovalOfItem:updateView:"),
        replaceRow<&controller::prepareForTeardown>(Controller, "prepareForTeardown"),
        replaceRow<&controller::clearItemsForNotificationCenter>(Controller, "clearItemsForNotificationCenter"),
        replaceRow<&controller::setInScreenOffMode>(Controller, "setInScreenOffMode:"),
        replaceRow<&lockScreen::layoutSubviews>(LockScreen, "layoutSubviews"),
        replaceRow<&lockScreen::_addLockContentUnderlayWithRequester>(LockScreen,
                                                                      "_addLockContentUnderlayWithRequester:"),
        replaceRow<&nowPlaying::initWithFrame>(NowPlaying, "initWithFrame:"),
    };
    return table;
}

void installHookTable()
{
    for (const HookRow& row : hookTable())
        row.install(objc::objc_getClass(row.className), objc::sel_registerName(row.selector));
}

} // namespace vantorel
