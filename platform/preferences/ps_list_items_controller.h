// The page of a choice row: one row per value, titled by the value's title, the stored value
// ticked. A tap writes the value through the choice row's setter and moves the tick to what is
// stored then.
#pragma once

#include "preferences/ps_list_controller.h"

class PSListItemsController : public PSListController {
    OBJC_CLASS(PSListItemsController, PSListController)
public:
    // One group, then one item row per value of the choice row (asked afresh each time the page
    // is built).
    std::shared_ptr<NSMutableArray> specifiers() override;
    void setSpecifier(std::shared_ptr<PSSpecifier> specifier) override;
    void tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>& table,
                                          const std::shared_ptr<NSIndexPath>& indexPath) override;

    // Item rows are ticked when their value (their "value" property) is the stored one.
    objc::id tableViewCellForRowAtIndexPath(const objc::id& table, const std::shared_ptr<NSIndexPath>& indexPath) override;

private:
    void updateChecks();
};
