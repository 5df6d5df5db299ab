#include "preferences/ps_list_controller.h"

#include "foundation/notification_center.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_file_manager.h"
#include "foundation/value_reading.h"
#include "preferences/ps_list_items_controller.h"
#include "preferences/ps_root_controller.h"
#include "preferences/ps_specifier_list.h"
#include "preferences/ps_table_cell.h"
#include "preferences/ps_table_group_cell.h"
#include "preferences/ps_target_call.h"
#include "uikit/index_path.h"
#include "uikit/screen.h"

#include <cmath>

using namespace objc;

OBJC_REGISTER(PSListController,
    c.method<&PSListController::specifiers>("specifiers");
    c.method<&PSListController::setSpecifiers>("setSpecifiers:");
    c.method<&PSListController::loadSpecifiersFromPlistNameTarget>("loadSpecifiersFromPlistName:target:");
    c.method<&PSListController::reloadSpecifiers>("reloadSpecifiers");
    c.method<&PSListController::reloadSpecifier>("reloadSpecifier:");
    c.method<&PSListController::specifierAtIndexPath>("specifierAtIndexPath:");
    c.method<&PSListController::indexPathForSpecifier>("indexPathForSpecifier:");
    c.method<&PSListController::readPreferenceValue>("readPreferenceValue:");
    c.method<&PSListController::setPreferenceValueSpecifier>("setPreferenceValue:specifier:");
    c.method<&PSListController::table>("table");
    c.method<&PSListController::bundle>("bundle");
    c.method<&PSListController::setBundle>("setBundle:");
    c.method<&PSListController::specifier>("specifier");
    c.method<&PSListController::setSpecifier>("setSpecifier:");
    c.method<&PSListController::pushController>("pushController:");
    c.method<&PSListController::numberOfSectionsInTableView>("numberOfSectionsInTableView:");
    c.method<&PSListController::tableViewNumberOfRowsInSection>("tableView:numberOfRowsInSection:");
    c.method<&PSListController::tableViewCellForRowAtIndexPath>("tableView:cellForRowAtIndexPath:");
    c.method<&PSListController::tableViewHeightForRowAtIndexPath>("tableView:heightForRowAtIndexPath:");
    c.method<&PSListController::tableViewDidSelectRowAtIndexPath>("tableView:didSelectRowAtIndexPath:");
    c.ivar<&PSListController::_specifiers>("_specifiers");)

namespace {

constexpr CGFloat kRowHeight = 44;

std::string preferencesFile(const std::string& domain) { return "/User/Library/Preferences/" + domain + ".plist"; }

bool isPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

} // namespace

// --- Rows ----------------------------------------------------------------------------------------

std::shared_ptr<NSMutableArray> PSListController::specifiers() { return _specifiers; }

void PSListController::setSpecifiers(std::shared_ptr<NSMutableArray> specifiers)
{
    _specifiers = std::move(specifiers);
    reloadSpecifiers();
}

std::shared_ptr<NSMutableArray> PSListController::loadSpecifiersFromPlistNameTarget(const std::shared_ptr<NSString>& name,
                                                                                   const id& target)
{
    std::shared_ptr<NSDictionary> list;
    if (bundle_ && name) {
        if (const std::string path = bundle_->pathForResourceOfType(name->string(), "plist"); !path.empty())
            list = NSDictionary::dictionaryWithContentsOfFile(path);
    }
    if (list && title().empty())
        if (auto heading = std::dynamic_pointer_cast<NSString>(list->objectForKey("title")))
            setTitle(heading->string());
    return preferences::specifiersFromPlist(list, target);
}

void PSListController::forgetRows()
{
    rows_.reset();
    cells_.clear();
}

void PSListController::reloadSpecifiers()
{
    forgetRows();
    if (table_)
        table_->reloadData();
}

void PSListController::reloadSpecifier(const std::shared_ptr<PSSpecifier>& specifier)
{
    if (!specifier)
        return;
    const auto found = cells_.find({specifier.get(), Part::Item});
    if (found == cells_.end())
        return;
    if (auto cell = std::dynamic_pointer_cast<PSTableCell>(found->second)) {
        msgSend(cell, "refreshCellContentsWithSpecifier:"_sel, specifier);
        msgSend(cell, "setValue:"_sel, specifier->performGetter());
    }
}

const std::vector<std::vector<PSListController::Row>>& PSListController::rows()
{
    if (rows_)
        return *rows_;
    std::vector<std::vector<Row>> built;
    std::vector<Row>* section = nullptr;
    auto closeSection = [&] {
        if (section && !section->empty() && section->front().part == Part::Header)
            section->push_back({Part::Footer, section->front().specifier, false});
    };
    const auto list = msgSend<std::shared_ptr<NSArray>>(this, "specifiers"_sel);
    for (const id& entry : list ? list->objects() : std::vector<id>{}) {
        auto specifier = std::dynamic_pointer_cast<PSSpecifier>(entry);
        if (!specifier)
            continue;
        if (specifier->cellType() == PSGroupCell) {
            closeSection();
            section = &built.emplace_back();
            section->push_back({Part::Header, specifier, built.size() == 1});
            continue;
        }
        if (!section) // rows before any group form a group of their own, without title
            section = &built.emplace_back();
        section->push_back({Part::Item, specifier, false});
    }
    closeSection();
    rows_ = std::move(built);
    return *rows_;
}

const PSListController::Row* PSListController::rowAt(const std::shared_ptr<NSIndexPath>& indexPath)
{
    if (!indexPath)
        return nullptr;
    const auto& all = rows();
    const long s = indexPath->section(), r = indexPath->row();
    if (s < 0 || s >= static_cast<long>(all.size()) || r < 0 || r >= static_cast<long>(all[s].size()))
        return nullptr;
    return &all[s][r];
}

std::shared_ptr<PSSpecifier> PSListController::specifierAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath)
{
    const Row* row = rowAt(indexPath);
    return row && row->part == Part::Item ? row->specifier : nullptr;
}

std::shared_ptr<NSIndexPath> PSListController::indexPathForSpecifier(const std::shared_ptr<PSSpecifier>& specifier)
{
    const auto& all = rows();
    for (std::size_t s = 0; s < all.size(); ++s)
        for (std::size_t r = 0; r < all[s].size(); ++r)
            if (all[s][r].part == Part::Item && all[s][r].specifier == specifier)
                return NSIndexPath::indexPathForRowInSection(static_cast<long>(r), static_cast<long>(s));
    return nullptr;
}

std::shared_ptr<PSSpecifier> PSListController::specifierForID(const std::string& identifier)
{
    for (const auto& specifier : rowSpecifiers())
        if (specifier->identifier() == identifier)
            return specifier;
    return nullptr;
}

std::vector<std::shared_ptr<PSSpecifier>> PSListController::rowSpecifiers()
{
    std::vector<std::shared_ptr<PSSpecifier>> found;
    for (const auto& section : rows())
        for (const Row& row : section)
            if (row.part == Part::Item)
                found.push_back(row.specifier);
    return found;
}

std::shared_ptr<UITableViewCell> PSListController::cellFor(const Row& row)
{
    const CellKey key{row.specifier.get(), row.part};
    if (auto found = cells_.find(key); found != cells_.end())
        return found->second;
    std::shared_ptr<UITableViewCell> cell;
    if (row.part == Part::Item) {
        cell = PSTableCell::createForSpecifier(row.specifier);
        if (cell)
            msgSend(cell, "setValue:"_sel, row.specifier->performGetter());
    } else
        cell = PSTableGroupCell::create(row.specifier, row.part == Part::Header ? PSTableGroupCell::Part::Header
                                                                                : PSTableGroupCell::Part::Footer);
    if (cell)
        cells_[key] = cell;
    return cell;
}

std::shared_ptr<UITableViewCell> PSListController::cellForSpecifier(const std::shared_ptr<PSSpecifier>& specifier)
{
    std::optional<Row> found;
    for (const auto& section : rows())
        for (const Row& row : section)
            if (!found && row.part == Part::Item && row.specifier == specifier)
                found = row;
    return found ? cellFor(*found) : nullptr;
}

// --- Values --------------------------------------------------------------------------------------

id PSListController::readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier)
{
    if (!specifier)
        return nullptr;
    const std::string domain = specifier->stringProperty("defaults");
    const std::string key = specifier->stringProperty("key");
    if (isPlainName(domain) && !key.empty())
        if (auto file = NSDictionary::dictionaryWithContentsOfFile(preferencesFile(domain)))
            if (id stored = file->objectForKey(key))
                return stored;
    return specifier->propertyForKey("default");
}

void PSListController::setPreferenceValueSpecifier(const id& value, const std::shared_ptr<PSSpecifier>& specifier)
{
    if (!specifier)
        return;
    const std::string domain = specifier->stringProperty("defaults");
    const std::string key = specifier->stringProperty("key");
    if (!isPlainName(domain) || key.empty())
        return;
    const std::string path = preferencesFile(domain);
    auto file = NSMutableDictionary::dictionaryWithContentsOfFile(path);
    if (!file) {
        // A file that is there but cannot be read is not replaced by one holding a single key.
        if (NSFileManager::defaultManager()->fileExistsAtPath(path))
            return;
        file = NSMutableDictionary::dictionary();
    }
    file->setObjectForKey(value, key);
    if (!file->writeToFileAtomically(path, true))
        return;
    if (const std::string name = specifier->stringProperty("PostNotification"); !name.empty())
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name, nullptr, nullptr, true);
}

// --- Pages ---------------------------------------------------------------------------------------

std::shared_ptr<UITableView> PSListController::table()
{
    view();
    return table_;
}

void PSListController::setSpecifier(std::shared_ptr<PSSpecifier> specifier)
{
    specifier_ = std::move(specifier);
    if (specifier_ && title().empty())
        setTitle(specifier_->name());
}

void PSListController::pushController(const std::shared_ptr<PSListController>& controller)
{
    if (!controller || !rootController_)
        return;
    if (!controller->bundle())
        controller->setBundle(bundle_);
    rootController_->pushController(controller);
}

// --- Table ---------------------------------------------------------------------------------------

void PSListController::loadView()
{
    table_ = objc::msgSend<std::shared_ptr<UITableView>>(alloc<UITableView>(), "initWithFrame:style:"_sel,
                                                         UIScreen::mainScreen()->bounds(),
                                                         static_cast<long>(UITableViewStyleGrouped));
    table_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    table_->setBackgroundColor(PSTableCell::listBackgroundColor());
    table_->setDataSource(self());
    table_->setDelegate(self());
    setView(table_);
}

void PSListController::viewWillAppear(bool animated)
{
    UIViewController::viewWillAppear(animated);
    for (const auto& specifier : rowSpecifiers())
        reloadSpecifier(specifier);
}

long PSListController::numberOfSectionsInTableView(const id&) { return static_cast<long>(rows().size()); }

long PSListController::tableViewNumberOfRowsInSection(const id&, long section)
{
    const auto& all = rows();
    return section >= 0 && section < static_cast<long>(all.size()) ? static_cast<long>(all[section].size()) : 0;
}

id PSListController::tableViewCellForRowAtIndexPath(const id&, const std::shared_ptr<NSIndexPath>& indexPath)
{
    const Row* row = rowAt(indexPath);
    if (!row)
        return nullptr;
    const Row chosen = *row; // a getter may reload the rows
    auto cell = cellFor(chosen);
    if (chosen.part == Part::Item)
        if (auto shown = std::dynamic_pointer_cast<PSTableCell>(cell))
            msgSend(shown, "setValue:"_sel, chosen.specifier->performGetter());
    return cell;
}

CGFloat PSListController::tableViewHeightForRowAtIndexPath(const id&, const std::shared_ptr<NSIndexPath>& indexPath)
{
    const Row* row = rowAt(indexPath);
    if (!row)
        return 0;
    if (row->part != Part::Item) {
        const CGFloat width = table_ ? table_->bounds().size.width : UIScreen::mainScreen()->bounds().size.width;
        return PSTableGroupCell::heightFor(row->specifier,
                                           row->part == Part::Header ? PSTableGroupCell::Part::Header
                                                                     : PSTableGroupCell::Part::Footer,
                                           row->firstGroup, width);
    }
    // Read in single precision and widened, as row heights always are.
    const auto height = foundation::floatValueOf(row->specifier->propertyForKey("height"));
    return height && std::isfinite(*height) && *height > 0 ? static_cast<CGFloat>(*height) : kRowHeight;
}

void PSListController::tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>& table,
                                                        const std::shared_ptr<NSIndexPath>& indexPath)
{
    const auto keep = selfAs<PSListController>();
    const auto specifier = specifierAtIndexPath(indexPath);
    if (table)
        table->deselectRowAtIndexPathAnimated(indexPath, true);
    if (!specifier)
        return;
    switch (specifier->cellType()) {
    case PSLinkListCell: {
        Class detail = specifier->detailControllerClass();
        if (!detail || !detail->isSubclassOf(PSListItemsController::class_()))
            detail = PSListItemsController::class_();
        auto page = std::dynamic_pointer_cast<PSListController>(msgSend<id>(detail->createInstance(), "init"_sel));
        if (page) {
            msgSend(page, "setSpecifier:"_sel, specifier);
            pushController(page);
        }
        return;
    }
    case PSLinkCell:
        if (Class detail = specifier->detailControllerClass(); detail && detail->isSubclassOf(PSListController::class_()))
            if (auto page = std::dynamic_pointer_cast<PSListController>(msgSend<id>(detail->createInstance(), "init"_sel))) {
                msgSend(page, "setSpecifier:"_sel, specifier);
                pushController(page);
                return;
            }
        break;
    default:
        break;
    }
    preferences::callAction(specifier->target(), specifier->action(), specifier);
}
