// SBLockScreenNotificationListView: the lock screen's notification area. A container view over
// its bounds holds the table of pending items (one row per item of the model, at the host's row
// heights) between two pocket views. The view is the table's data source and delegate, and
// passes idle-timer requests to the host's idle timer.
//
// On the 320 × 568 screen the list view is (0, 150, 320, 418); inside it the container is
// (0, 0, 320, 418), the top pocket (0, 0, 320, 16), the table (0, 16, 320, 386) and the bottom
// pocket (0, 402, 320, 16): room for whatever a library adds from the container's top.
//
// The runtime sees the host's instance variables "_containerView", "_tableView",
// "_topPocketView", "_bottomPocketView" and "_model", and every method an injected library may
// replace is registered under its full selector; the toolkit and the host reach them through
// the runtime only.
//
// Ownership: the view owns its container, table, pockets and model; the idle timer belongs to
// the host (not retained).
#pragma once

#include "springboard/notification_model.h"
#include "uikit/table_view.h"
#include "uikit/view.h"

#include <memory>

class NSIndexPath;
class SBIdleTimer;

class SBLockScreenNotificationListView : public UIView {
    OBJC_CLASS(SBLockScreenNotificationListView, UIView)
public:
    static constexpr CGFloat kPocketHeight = 16;
    static constexpr const char* kCellIdentifier = "SBLockScreenNotificationCell";

    // Builds the container, the table and the pockets.
    objc::id initWithFrame(CGRect frame) override;
    // Places the container over the bounds, the top pocket at its top, the table below it and
    // the bottom pocket at its foot.
    void layoutSubviews() override;

    // --- Table data source and delegate (runtime selectors) ---------------------------
    long tableViewNumberOfRowsInSection(const objc::id& tableView, long section);
    objc::id tableViewCellForRowAtIndexPath(const objc::id& tableView, const std::shared_ptr<NSIndexPath>& indexPath);
    // The host's own row height for the item of the row.
    CGFloat tableViewHeightForRowAtIndexPath(const objc::id& tableView, const std::shared_ptr<NSIndexPath>& indexPath);
    void scrollViewDidEndDraggingWillDecelerate(const objc::id& scrollView, bool decelerate);

    // --- Idle timer (runtime selectors "_disableIdleTimer:", "_resetAllFadeTimers") --------
    void _disableIdleTimer(bool disable);
    void _resetAllFadeTimers();
    // The host's idle timer; without one the idle-timer requests do nothing.
    void setIdleTimer(SBIdleTimer* timer) { idleTimer_ = timer; }

    // --- Model and parts ----------------------------------------------------------------
    const std::shared_ptr<SBLockScreenNotificationModel>& model() const { return _model; }
    // Runtime selector "setModel:"; reloads the table.
    void setModel(const std::shared_ptr<SBLockScreenNotificationModel>& model);
    // Runtime selector "reloadData": the table shows the model again.
    void reloadData();
    // The model gained the item at the index, or lost the one that was there: the table inserts
    // or deletes that row only.
    void insertRowAtIndex(long index);
    void deleteRowAtIndex(long index);
    const std::shared_ptr<UIView>& containerView() const { return _containerView; }
    const std::shared_ptr<UITableView>& tableView() const { return _tableView; }
    const std::shared_ptr<UIView>& topPocketView() const { return _topPocketView; }
    const std::shared_ptr<UIView>& bottomPocketView() const { return _bottomPocketView; }

private:
    void placeParts();

    std::shared_ptr<UIView> _containerView;
    std::shared_ptr<UITableView> _tableView;
    std::shared_ptr<UIView> _topPocketView;
    std::shared_ptr<UIView> _bottomPocketView;
    std::shared_ptr<SBLockScreenNotificationModel> _model;
    SBIdleTimer* idleTimer_ = nullptr;
};
