// The table cell of a Settings row: made from its specifier, it shows the row's title and, for
// rows that have one, its value; link rows carry a disclosure mark, chosen list items a check
// mark, buttons their title in the tint colour. Bundles derive their own rows from it and name
// them in a specifier's "cellClass".
//
// Ownership: the list controller keeps one cell per row; the cell holds its specifier strongly
// (the specifier does not hold the cell).
#pragma once

#include "preferences/ps_specifier.h"
#include "uikit/table_view_cell.h"

#include <memory>

class UILabel;

class PSTableCell : public UITableViewCell {
    OBJC_CLASS(PSTableCell, UITableViewCell)
public:
    // The class a row is shown with: its specifier's cell class when that is a PSTableCell,
    // else the one of its kind (switch, slider and text rows have their own).
    static objc::Class cellClassForSpecifier(const std::shared_ptr<PSSpecifier>& specifier);
    // Value1 (title left, value right) for rows that show a value, Default for the others.
    static long cellStyleForCellType(long cellType);
    // Made through the runtime: alloc, then "initWithStyle:reuseIdentifier:specifier:" with the
    // kind's style. Nil when the class's initialiser gives nothing.
    static std::shared_ptr<PSTableCell> createForSpecifier(const std::shared_ptr<PSSpecifier>& specifier);

    // Runtime selector "initWithStyle:reuseIdentifier:specifier:".
    virtual objc::id initWithStyleReuseIdentifierSpecifier(long style, const std::shared_ptr<NSString>& reuseIdentifier,
                                                           const std::shared_ptr<PSSpecifier>& specifier);

    const std::shared_ptr<PSSpecifier>& specifier() const { return specifier_; }
    void setSpecifier(std::shared_ptr<PSSpecifier> specifier) { specifier_ = std::move(specifier); }
    long type() const { return specifier_ ? specifier_->cellType() : PSStaticTextCell; }

    // Runtime selector "refreshCellContentsWithSpecifier:": title and marks from the specifier.
    virtual void refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier);
    // Runtime selector "setValue:": shows the row's value. Link lists show the value's title,
    // title-value rows its text; other kinds show no value (their subclasses may).
    virtual void setValue(const objc::id& value);
    const objc::id& value() const { return value_; }
    // Runtime selector "setChecked:": the check mark of a list item.
    void setChecked(bool checked);
    bool isChecked() const { return checked_; }
    // Whether a tap does something: links, lists, buttons, list items and rows with an action.
    bool canBeChecked() const { return type() == PSListItemCell; }
    bool isSelectable() const;

    void setSelected(bool selected) override;
    void prepareForReuse() override;
    void layoutSubviews() override;

    // The grouped list's colours, shared by every row.
    static std::shared_ptr<UIColor> rowBackgroundColor();
    static std::shared_ptr<UIColor> listBackgroundColor();

protected:
    objc::id value_;

private:
    std::shared_ptr<PSSpecifier> specifier_;
    std::shared_ptr<UILabel> accessoryMark_;
    std::shared_ptr<UIView> separator_;
    std::shared_ptr<UIView> highlight_;
    bool checked_ = false;
};
