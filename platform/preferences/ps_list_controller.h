// The Settings application's list page: a grouped table of rows made from specifiers. It is the
// table's data source and delegate, keeps one cell per row, fills each row with its value from
// the row's getter, and on a tap opens a choice page, runs a button's action or pushes a link's
// page. Bundles derive their root controller from it and build their rows in "specifiers",
// usually from a specifier list in the bundle (loadSpecifiersFromPlistName:target:).
//
// Groups become table sections; a section's first row is the group's title (or a gap) and its
// last row the group's footer, so index paths count those rows too.
//
// Ownership: the controller owns its specifiers, its cells and its table (its view); the root
// controller it is shown in and the page that pushed it are not retained.
#pragma once

#include "foundation/ns_array.h"
#include "foundation/ns_bundle.h"
#include "preferences/ps_specifier.h"
#include "uikit/table_view.h"
#include "uikit/view_controller.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class NSIndexPath;
class PSRootController;
class UITableViewCell;

class PSListController : public UIViewController {
    OBJC_CLASS(PSListController, UIViewController)
public:
    // --- Rows ---------------------------------------------------------------------------
    // Runtime selector "specifiers": the rows of the page. The default answers the rows set
    // or loaded so far (nil when none).
    virtual std::shared_ptr<NSMutableArray> specifiers();
    // Runtime selector "setSpecifiers:": replaces the rows and shows them.
    void setSpecifiers(std::shared_ptr<NSMutableArray> specifiers);
    // Runtime selector "loadSpecifiersFromPlistName:target:": the rows of the specifier list
    // "<name>.plist" in the controller's bundle (see ps_specifier_list.h), with the target as
    // every row's target. An empty list when the file is missing or malformed. A list's "title"
    // becomes the page's title when it has none yet.
    std::shared_ptr<NSMutableArray> loadSpecifiersFromPlistNameTarget(const std::shared_ptr<NSString>& name,
                                                                       const objc::id& target);
    // Runtime selector "reloadSpecifiers": every row is made afresh from its specifier and reads
    // its value again.
    virtual void reloadSpecifiers();
    // Runtime selector "reloadSpecifier:": the row reads its value again.
    void reloadSpecifier(const std::shared_ptr<PSSpecifier>& specifier);
    // Runtime selectors "specifierAtIndexPath:", "indexPathForSpecifier:", "specifierForID:".
    // Nil for the rows of group titles and footers.
    std::shared_ptr<PSSpecifier> specifierAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath);
    std::shared_ptr<NSIndexPath> indexPathForSpecifier(const std::shared_ptr<PSSpecifier>& specifier);
    std::shared_ptr<PSSpecifier> specifierForID(const std::string& identifier);
    // Every row that shows something (group titles and footers left out), in list order.
    std::vector<std::shared_ptr<PSSpecifier>> rowSpecifiers();
    // The cell the row is shown with (made on first use); nil for an unknown specifier.
    std::shared_ptr<UITableViewCell> cellForSpecifier(const std::shared_ptr<PSSpecifier>& specifier);

    // --- Values -------------------------------------------------------------------------
    // Runtime selectors "readPreferenceValue:" and "setPreferenceValue:specifier:". The defaults
    // read and write the row's "key" in the property list of its "defaults" domain under
    // "/User/Library/Preferences/" (the row's "default" when the file has none) and post the
    // row's "PostNotification" after a successful write.
    virtual objc::id readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier);
    virtual void setPreferenceValueSpecifier(const objc::id& value, const std::shared_ptr<PSSpecifier>& specifier);

    // --- Pages --------------------------------------------------------------------------
    // Runtime selector "table": the table (loads the view).
    std::shared_ptr<UITableView> table();
    // Runtime selectors "bundle", "setBundle:": where the specifier lists are read from.
    const std::shared_ptr<NSBundle>& bundle() const { return bundle_; }
    void setBundle(std::shared_ptr<NSBundle> bundle) { bundle_ = std::move(bundle); }
    // Runtime selectors "specifier", "setSpecifier:": the row that opened this page.
    const std::shared_ptr<PSSpecifier>& specifier() const { return specifier_; }
    virtual void setSpecifier(std::shared_ptr<PSSpecifier> specifier);
    PSRootController* rootController() const { return rootController_; }
    void setRootController(PSRootController* root) { rootController_ = root; }
    // Runtime selector "pushController:": shows the page on top of this one (nothing outside a
    // root controller). The page inherits the bundle.
    void pushController(const std::shared_ptr<PSListController>& controller);

    // --- Table --------------------------------------------------------------------------
    void loadView() override;
    // Every row reads its value again: a page shown anew (back from a choice page) shows what
    // is stored now.
    void viewWillAppear(bool animated) override;
    long numberOfSectionsInTableView(const objc::id& table);
    long tableViewNumberOfRowsInSection(const objc::id& table, long section);
    virtual objc::id tableViewCellForRowAtIndexPath(const objc::id& table, const std::shared_ptr<NSIndexPath>& indexPath);
    // A row's "height" property when it is a positive number, else 44.
    CGFloat tableViewHeightForRowAtIndexPath(const objc::id& table, const std::shared_ptr<NSIndexPath>& indexPath);
    // Choice rows open their page, link rows their "detail" page, rows with an action run it;
    // the row is then deselected.
    virtual void tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>& table,
                                                  const std::shared_ptr<NSIndexPath>& indexPath);

protected:
    // Runtime instance variable "_specifiers".
    std::shared_ptr<NSMutableArray> _specifiers;

private:
    enum class Part { Header, Item, Footer };
    struct Row {
        Part part = Part::Item;
        std::shared_ptr<PSSpecifier> specifier; // the group's for titles and footers
        bool firstGroup = false;
    };
    using CellKey = std::pair<const PSSpecifier*, Part>;

    const std::vector<std::vector<Row>>& rows();
    const Row* rowAt(const std::shared_ptr<NSIndexPath>& indexPath);
    std::shared_ptr<UITableViewCell> cellFor(const Row& row);
    void forgetRows();

    std::shared_ptr<NSBundle> bundle_;
    std::shared_ptr<PSSpecifier> specifier_;
    PSRootController* rootController_ = nullptr;
    std::shared_ptr<UITableView> table_;
    std::optional<std::vector<std::vector<Row>>> rows_;
    std::map<CellKey, std::shared_ptr<UITableViewCell>> cells_;
};
