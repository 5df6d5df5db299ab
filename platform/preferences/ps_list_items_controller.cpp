#include "preferences/ps_list_items_controller.h"

#include "preferences/ps_table_cell.h"
#include "uikit/index_path.h"

using namespace objc;

OBJC_REGISTER(PSListItemsController)

std::shared_ptr<NSMutableArray> PSListItemsController::specifiers()
{
    if (_specifiers)
        return _specifiers;
    _specifiers = NSMutableArray::array();
    const auto& choice = specifier();
    if (!choice)
        return _specifiers;
    _specifiers->addObject(PSSpecifier::groupSpecifierWithName(""));
    const auto values = choice->values();
    const auto titles = choice->titles();
    for (unsigned long i = 0; i < values->count(); ++i) {
        const id value = values->objectAtIndex(i);
        auto item = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
            choice->titleForValue(value), self(), nullptr, nullptr, nullptr, PSListItemCell, nullptr);
        item->setPropertyForKey(value, "value");
        _specifiers->addObject(item);
    }
    return _specifiers;
}

void PSListItemsController::setSpecifier(std::shared_ptr<PSSpecifier> specifier)
{
    PSListController::setSpecifier(std::move(specifier));
    _specifiers = nullptr;
    reloadSpecifiers();
}

id PSListItemsController::tableViewCellForRowAtIndexPath(const id& table, const std::shared_ptr<NSIndexPath>& indexPath)
{
    const id cell = PSListController::tableViewCellForRowAtIndexPath(table, indexPath);
    const auto item = specifierAtIndexPath(indexPath);
    const auto& choice = specifier();
    if (auto row = std::dynamic_pointer_cast<PSTableCell>(cell); row && item && choice) {
        const id stored = choice->performGetter();
        const id value = item->propertyForKey("value");
        msgSend(row, "setChecked:"_sel, stored && value && stored->isEqual(value.get()));
    }
    return cell;
}

void PSListItemsController::updateChecks()
{
    const auto& choice = specifier();
    const id stored = choice ? choice->performGetter() : nullptr;
    for (const auto& item : rowSpecifiers()) {
        const id value = item->propertyForKey("value");
        if (auto cell = std::dynamic_pointer_cast<PSTableCell>(cellForSpecifier(item)))
            msgSend(cell, "setChecked:"_sel, stored && value && stored->isEqual(value.get()));
    }
}

void PSListItemsController::tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>& table,
                                                             const std::shared_ptr<NSIndexPath>& indexPath)
{
    const auto keep = selfAs<PSListItemsController>();
    if (table)
        table->deselectRowAtIndexPathAnimated(indexPath, true);
    const auto item = specifierAtIndexPath(indexPath);
    const auto& choice = specifier();
    if (!item || !choice)
        return;
    choice->performSetter(item->propertyForKey("value"));
    updateChecks();
}
