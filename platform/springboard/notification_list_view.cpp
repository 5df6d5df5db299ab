#include "springboard/notification_list_view.h"

#include "foundation/ns_array.h"
#include "springboard/idle_timer.h"
#include "springboard/list_items.h"
#include "uikit/color.h"
#include "uikit/image_view.h"
#include "uikit/index_path.h"
#include "uikit/label.h"
#include "uikit/table_view_cell.h"

#include <algorithm>

using objc::operator""_sel;

namespace {

std::shared_ptr<SBAwayListItem> itemAt(const std::shared_ptr<SBLockScreenNotificationModel>& model,
                                       const std::shared_ptr<NSIndexPath>& indexPath)
{
    // Through the runtime: the model is the host's and may be extended like any host class.
    return std::dynamic_pointer_cast<SBAwayListItem>(
        objc::msgSend<objc::id>(model, "listItemAtIndexPath:"_sel, indexPath));
}

} // namespace

objc::id SBLockScreenNotificationListView::initWithFrame(CGRect frame)
{
    if (!UIView::initWithFrame(frame))
        return nullptr;
    _containerView = UIView::create<UIView>(bounds());
    addSubview(_containerView);

    _tableView = UIView::create<UITableView>(bounds());
    _tableView->setBackgroundColor(UIColor::clearColor());
    _tableView->setShowsVerticalScrollIndicator(false);
    _tableView->setDataSource(self());
    _tableView->setDelegate(self());
    _containerView->addSubview(_tableView);

    _topPocketView = UIView::create<UIView>(CGRectZero);
    _topPocketView->setBackgroundColor(UIColor::colorWithWhiteAlpha(1, 0.08));
    _containerView->addSubview(_topPocketView);
    _bottomPocketView = UIView::create<UIView>(CGRectZero);
    _bottomPocketView->setBackgroundColor(UIColor::colorWithWhiteAlpha(1, 0.08));
    _containerView->addSubview(_bottomPocketView);
    // Placed at once, so that whoever extends the construction finds the parts where the
    // layout will keep them.
    placeParts();
    return self();
}

void SBLockScreenNotificationListView::layoutSubviews() { placeParts(); }

void SBLockScreenNotificationListView::placeParts()
{
    const CGRect b = bounds();
    const CGFloat w = b.size.width;
    const CGFloat h = b.size.height;
    _containerView->setFrame(b);
    _topPocketView->setFrame(CGRectMake(0, 0, w, kPocketHeight));
    _tableView->setFrame(CGRectMake(0, kPocketHeight, w, std::max<CGFloat>(0, h - 2 * kPocketHeight)));
    _bottomPocketView->setFrame(CGRectMake(0, std::max<CGFloat>(0, h - kPocketHeight), w, kPocketHeight));
}

long SBLockScreenNotificationListView::tableViewNumberOfRowsInSection(const objc::id&, long section)
{
    if (section != 0 || !_model)
        return 0;
    return objc::msgSend<long>(_model, "count"_sel);
}

objc::id SBLockScreenNotificationListView::tableViewCellForRowAtIndexPath(const objc::id& tableView,
                                                                          const std::shared_ptr<NSIndexPath>& indexPath)
{
    auto table = std::dynamic_pointer_cast<UITableView>(tableView);
    std::shared_ptr<UITableViewCell> cell = table ? table->dequeueReusableCellWithIdentifier(kCellIdentifier) : nullptr;
    if (!cell)
        cell = UITableViewCell::create(UITableViewCell::class_(), UITableViewCellStyleSubtitle, kCellIdentifier);
    cell->setBackgroundColor(UIColor::clearColor());
    const auto item = itemAt(_model, indexPath);
    cell->textLabel()->setText(item ? item->rowTitle() : "");
    cell->textLabel()->setTextColor(UIColor::whiteColor());
    cell->detailTextLabel()->setText(item ? item->rowDetail() : "");
    cell->detailTextLabel()->setTextColor(UIColor::colorWithWhiteAlpha(1, 0.75));
    cell->imageView()->setImage(item ? item->rowImage() : nullptr);
    return cell;
}

CGFloat SBLockScreenNotificationListView::tableViewHeightForRowAtIndexPath(const objc::id&,
                                                                           const std::shared_ptr<NSIndexPath>& indexPath)
{
    const auto item = itemAt(_model, indexPath);
    return item ? item->rowHeight() : SBAwayBulletinListItem::kRowHeight;
}

void SBLockScreenNotificationListView::scrollViewDidEndDraggingWillDecelerate(const objc::id&, bool)
{
    // Touching the list is activity: the screen stays awake for a full countdown.
    objc::msgSend(this, "_resetAllFadeTimers"_sel);
}

void SBLockScreenNotificationListView::_disableIdleTimer(bool disable)
{
    if (idleTimer_)
        idleTimer_->setDisabled(disable);
}

void SBLockScreenNotificationListView::_resetAllFadeTimers()
{
    if (idleTimer_)
        idleTimer_->reset();
}

void SBLockScreenNotificationListView::setModel(const std::shared_ptr<SBLockScreenNotificationModel>& model)
{
    _model = model;
    reloadData();
}

// The table lays out its own rows; the list view's parts keep their places whatever the items,
// so a change of items does not lay the list view out again (what the injected library puts into
// it, such as its away text, stays until the next layout pass).
void SBLockScreenNotificationListView::reloadData() { objc::msgSend(_tableView, "reloadData"_sel); }

void SBLockScreenNotificationListView::insertRowAtIndex(long index)
{
    objc::msgSend(_tableView, "insertRowsAtIndexPaths:withRowAnimation:"_sel,
                  NSArray::arrayWithObjects({NSIndexPath::indexPathForRowInSection(index, 0)}), 0L);
}

void SBLockScreenNotificationListView::deleteRowAtIndex(long index)
{
    objc::msgSend(_tableView, "deleteRowsAtIndexPaths:withRowAnimation:"_sel,
                  NSArray::arrayWithObjects({NSIndexPath::indexPathForRowInSection(index, 0)}), 0L);
}

OBJC_REGISTER(SBLockScreenNotificationListView,
    c.ivar<&SBLockScreenNotificationListView::_containerView>("_containerView");
    c.ivar<&SBLockScreenNotificationListView::_tableView>("_tableView");
    c.ivar<&SBLockScreenNotificationListView::_topPocketView>("_topPocketView");
    c.ivar<&SBLockScreenNotificationListView::_bottomPocketView>("_bottomPocketView");
    c.ivar<&SBLockScreenNotificationListView::_model>("_model");
    c.method<&SBLockScreenNotificationListView::initWithFrame>("initWithFrame:");
    c.method<&SBLockScreenNotificationListView::layoutSubviews>("layoutSubviews");
    c.method<&SBLockScreenNotificationListView::tableViewNumberOfRowsInSection>("tableView:numberOfRowsInSection:");
    c.method<&SBLockScreenNotificationListView::tableViewCellForRowAtIndexPath>("tableView:cellForRowAtIndexPath:");
    c.method<&SBLockScreenNotificationListView::tableViewHeightForRowAtIndexPath>("tableView:heightForRowAtIndexPath:");
    c.method<&SBLockScreenNotificationListView::scrollViewDidEndDraggingWillDecelerate>(
        "scrollViewDidEndDragging:willDecelerate:");
    c.method<&SBLockScreenNotificationListView::_disableIdleTimer>("_disableIdleTimer:");
    c.method<&SBLockScreenNotificationListView::_resetAllFadeTimers>("_resetAllFadeTimers");
    c.method<&SBLockScreenNotificationListView::setModel>("setModel:");
    c.method<&SBLockScreenNotificationListView::reloadData>("reloadData");)
