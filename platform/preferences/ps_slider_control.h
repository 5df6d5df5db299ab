// The slider of slider rows: a track between a minimum and a maximum with a round knob at the
// value. Setting the value from code sends nothing; the Settings application's "slide" sends
// ValueChanged after it, as a drag would.
#pragma once

#include "uikit/control.h"

#include <memory>

class PSSliderControl : public UIControl {
    OBJC_CLASS(PSSliderControl, UIControl)
public:
    objc::id initWithFrame(CGRect frame) override;

    float minimumValue() const { return minimum_; }
    float maximumValue() const { return maximum_; }
    // A range given the wrong way round is turned about; the value is held inside it.
    void setRange(float minimum, float maximum);
    float value() const { return value_; }
    // Clamped to the range; not a number leaves the value as it was.
    void setValue(float value);

    void layoutSubviews() override;

private:
    float minimum_ = 0;
    float maximum_ = 1;
    float value_ = 0;
    std::shared_ptr<UIView> track_;
    std::shared_ptr<UIView> filled_;
    std::shared_ptr<UIView> knob_;
};
