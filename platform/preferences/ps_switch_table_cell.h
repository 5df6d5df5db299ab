// Switch rows: the title on the left, a switch on the right. Flipping the switch writes the new
// value (a boolean number) through the specifier's setter.
#pragma once

#include "preferences/ps_switch_control.h"
#include "preferences/ps_table_cell.h"

class PSSwitchTableCell : public PSTableCell {
    OBJC_CLASS(PSSwitchTableCell, PSTableCell)
public:
    objc::id initWithStyleReuseIdentifierSpecifier(long style, const std::shared_ptr<NSString>& reuseIdentifier,
                                                   const std::shared_ptr<PSSpecifier>& specifier) override;

    // On for any value whose boolean reading is true ("YES", 1, true); off for nil.
    void setValue(const objc::id& value) override;
    // Runtime selector "control".
    const std::shared_ptr<PSSwitchControl>& control() const { return switch_; }

    void layoutSubviews() override;

private:
    // Runtime selector "_switchChanged:".
    void switchChanged(const objc::id& sender);

    std::shared_ptr<PSSwitchControl> switch_;
};
