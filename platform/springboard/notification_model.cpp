#include "springboard/notification_model.h"

#include "uikit/index_path.h"

std::shared_ptr<SBLockScreenNotificationModel> SBLockScreenNotificationModel::modelWithListItems(
    std::shared_ptr<NSMutableArray> items)
{
    auto model = std::make_shared<SBLockScreenNotificationModel>();
    model->items_ = std::move(items);
    return model;
}

objc::id SBLockScreenNotificationModel::listItemAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const
{
    if (!indexPath || !items_ || indexPath->section() != 0 || indexPath->row() < 0)
        return nullptr;
    return items_->objectAtIndex(static_cast<unsigned long>(indexPath->row()));
}

long SBLockScreenNotificationModel::count() const { return items_ ? static_cast<long>(items_->count()) : 0; }

OBJC_REGISTER(SBLockScreenNotificationModel,
    c.method<&SBLockScreenNotificationModel::listItemAtIndexPath>("listItemAtIndexPath:");
    c.method<&SBLockScreenNotificationModel::count>("count");)
