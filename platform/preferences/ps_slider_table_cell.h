// Slider rows: a slider across the row between the specifier's "min" and "max" (0 and 1 when
// absent), with the value shown beside it when "showValue" is on. Moving it writes the value
// (a single-precision number) through the specifier's setter.
#pragma once

#include "preferences/ps_slider_control.h"
#include "preferences/ps_table_cell.h"

class UILabel;

class PSSliderTableCell : public PSTableCell {
    OBJC_CLASS(PSSliderTableCell, PSTableCell)
public:
    objc::id initWithStyleReuseIdentifierSpecifier(long style, const std::shared_ptr<NSString>& reuseIdentifier,
                                                   const std::shared_ptr<PSSpecifier>& specifier) override;

    // A value that is not a number leaves the slider at its minimum.
    void setValue(const objc::id& value) override;
    // Runtime selector "control".
    const std::shared_ptr<PSSliderControl>& control() const { return slider_; }

    void layoutSubviews() override;

private:
    // Runtime selector "_sliderChanged:".
    void sliderChanged(const objc::id& sender);
    void showValue();

    std::shared_ptr<PSSliderControl> slider_;
    std::shared_ptr<UILabel> valueLabel_;
};
