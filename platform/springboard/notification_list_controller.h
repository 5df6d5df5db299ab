// SBLockScreenNotificationListController: owns the lock screen's pending items ("_listItems",
// newest first, one mutable list object for its whole life) and keeps its list view
// ("_notificationView") in step with them.
//
// Its six event methods are the host's own implementations; the host sends them through the
// runtime, so a replacement installed on the class runs. Each updates "_listItems" before it
// returns:
//   "_updateModelAndViewForAdditionOfItem:"     puts the item first (an item already listed,
//                                               or nil, changes nothing), inserts its row;
//   "_updateModelForRemovalOfItem:updateView:"  takes the item out (by identity); deletes its
//                                               row when asked;
//   "clearItemsForNotificationCenter"           empties the list (the items move on to the
//                                               notification centre), reloads the view;
//   "prepareForTeardown"                        the lock screen goes away: empties the list;
//   "_hardwareButtonPressed:"                   remembers the button; counts as activity;
//   "setInScreenOffMode:"                       remembers the screen state; the list scrolls
//                                               back to its top when the screen goes off.
//
// Ownership: the controller owns its list and its view.
#pragma once

#include "foundation/ns_array.h"
#include "objc/objc.h"
#include "springboard/notification_list_view.h"

#include <memory>
#include <string>

class SBLockScreenNotificationListController : public objc::Object {
    OBJC_CLASS(SBLockScreenNotificationListController, objc::Object)
public:
    SBLockScreenNotificationListController();

    // The view shows this controller's list from now on.
    void setNotificationView(const std::shared_ptr<SBLockScreenNotificationListView>& view);
    const std::shared_ptr<SBLockScreenNotificationListView>& notificationView() const { return _notificationView; }
    const std::shared_ptr<NSMutableArray>& listItems() const { return _listItems; }

    // --- The host's event methods (runtime selectors in the header comment) -----------------
    void _hardwareButtonPressed(const objc::id& notification);
    void _updateModelAndViewForAdditionOfItem(const objc::id& item);
    void _updateModelForRemovalOfItemUpdateView(const objc::id& item, bool updateView);
    void prepareForTeardown();
    void clearItemsForNotificationCenter();
    void setInScreenOffMode(bool screenOff);

    // --- Observable host state --------------------------------------------------------------
    bool isInScreenOffMode() const { return screenOff_; }
    bool isTornDown() const { return tornDown_; }
    // The name of the last hardware button notification, empty before the first.
    const std::string& lastButtonName() const { return lastButton_; }

private:
    void updateView();

    std::shared_ptr<SBLockScreenNotificationListView> _notificationView;
    std::shared_ptr<NSMutableArray> _listItems = NSMutableArray::array();
    bool screenOff_ = false;
    bool tornDown_ = false;
    std::string lastButton_;
};
