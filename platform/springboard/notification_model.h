// The notification list's model: the rows of the host's table, one per list item, read from the
// controller's own item list (the same list object, so it never falls behind).
#pragma once

#include "foundation/ns_array.h"
#include "objc/objc.h"

#include <memory>

class NSIndexPath;

class SBLockScreenNotificationModel : public objc::Object {
    OBJC_CLASS(SBLockScreenNotificationModel, objc::Object)
public:
    SBLockScreenNotificationModel() = default;
    static std::shared_ptr<SBLockScreenNotificationModel> modelWithListItems(std::shared_ptr<NSMutableArray> items);

    // Runtime selector "listItemAtIndexPath:": the item of the row (section 0), nil for a row
    // the list does not have.
    objc::id listItemAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const;
    // Runtime selector "count": the number of rows.
    long count() const;
    const std::shared_ptr<NSMutableArray>& listItems() const { return items_; }

private:
    std::shared_ptr<NSMutableArray> items_;
};
