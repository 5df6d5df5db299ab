#include "springboard/notification_list_controller.h"

#include "foundation/ns_string.h"

using objc::operator""_sel;

SBLockScreenNotificationListController::SBLockScreenNotificationListController() = default;

void SBLockScreenNotificationListController::setNotificationView(
    const std::shared_ptr<SBLockScreenNotificationListView>& view)
{
    _notificationView = view;
    if (view)
        view->setModel(SBLockScreenNotificationModel::modelWithListItems(_listItems));
}

void SBLockScreenNotificationListController::_hardwareButtonPressed(const objc::id& notification)
{
    lastButton_.clear();
    if (notification && objc::respondsToSelector(notification.get(), "name"_sel)) {
        if (auto name = std::dynamic_pointer_cast<NSString>(objc::msgSend<objc::id>(notification, "name"_sel)))
            lastButton_ = name->string();
    }
    // Any button press is the user's doing: the screen stays awake for a full countdown.
    objc::msgSend(_notificationView, "_resetAllFadeTimers"_sel);
}

void SBLockScreenNotificationListController::_updateModelAndViewForAdditionOfItem(const objc::id& item)
{
    if (!item)
        return;
    for (const auto& listed : *_listItems) {
        if (listed == item)
            return;
    }
    tornDown_ = false;
    _listItems->insertObjectAtIndex(item, 0);
    if (_notificationView)
        _notificationView->insertRowAtIndex(0);
}

void SBLockScreenNotificationListController::_updateModelForRemovalOfItemUpdateView(const objc::id& item,
                                                                                    bool updateView)
{
    long removed = -1;
    for (unsigned long i = 0; i < _listItems->count(); ++i) {
        if (_listItems->objectAtIndex(i) == item) {
            _listItems->removeObjectAtIndex(i);
            removed = static_cast<long>(i);
            break;
        }
    }
    if (updateView && _notificationView) {
        // An item that was not listed changes no row; the view shows the list again all the same.
        if (removed >= 0)
            _notificationView->deleteRowAtIndex(removed);
        else
            this->updateView();
    }
}

void SBLockScreenNotificationListController::prepareForTeardown()
{
    _listItems->removeAllObjects();
    tornDown_ = true;
    updateView();
}

void SBLockScreenNotificationListController::clearItemsForNotificationCenter()
{
    _listItems->removeAllObjects();
    updateView();
}

void SBLockScreenNotificationListController::setInScreenOffMode(bool screenOff)
{
    screenOff_ = screenOff;
    if (screenOff && _notificationView && _notificationView->tableView())
        _notificationView->tableView()->setContentOffset(CGPointZero);
}

void SBLockScreenNotificationListController::updateView()
{
    if (_notificationView)
        _notificationView->reloadData();
}

OBJC_REGISTER(SBLockScreenNotificationListController,
    c.ivar<&SBLockScreenNotificationListController::_notificationView>("_notificationView");
    c.ivar<&SBLockScreenNotificationListController::_listItems>("_listItems");
    c.method<&SBLockScreenNotificationListController::_hardwareButtonPressed>("_hardwareButtonPressed:");
    c.method<&SBLockScreenNotificationListController::_updateModelAndViewForAdditionOfItem>(
        "_updateModelAndViewForAdditionOfItem:");
    c.method<&SBLockScreenNotificationListController::_updateModelForRemovalOfItemUpdateView>(
        "_updateModelForRemovalOfItem:updateView:");
    c.method<&SBLockScreenNotificationListController::prepareForTeardown>("prepareForTeardown");
    c.method<&SBLockScreenNotificationListController::clearItemsForNotificationCenter>(
        "clearItemsForNotificationCenter");
    c.method<&SBLockScreenNotificationListController::setInScreenOffMode>("setInScreenOffMode:");)
