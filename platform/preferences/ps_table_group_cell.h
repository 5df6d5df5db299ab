// The space above and below a group of rows: the group's title in small grey capitals above it,
// its "footerText" in small grey type below it. The list shows them as rows of their own that
// a tap does nothing with.
#pragma once

#include "preferences/ps_specifier.h"
#include "uikit/table_view_cell.h"

class PSTableGroupCell : public UITableViewCell {
    OBJC_CLASS(PSTableGroupCell, UITableViewCell)
public:
    enum class Part { Header, Footer };

    static std::shared_ptr<PSTableGroupCell> create(const std::shared_ptr<PSSpecifier>& group, Part part);
    // The room the part takes in a list of the given width: a title line, the wrapped footer,
    // or a plain gap (none above the first group).
    static CGFloat heightFor(const std::shared_ptr<PSSpecifier>& group, Part part, bool firstGroup, CGFloat width);

    Part part() const { return part_; }
    void layoutSubviews() override;

private:
    static std::string textOf(const std::shared_ptr<PSSpecifier>& group, Part part);

    Part part_ = Part::Header;
};
