// The on/off switch of switch rows: a rounded track with a round knob. A tap flips it and sends
// ValueChanged to its targets; setting it from code sends nothing.
#pragma once

#include "uikit/control.h"

#include <memory>

class PSSwitchControl : public UIControl {
    OBJC_CLASS(PSSwitchControl, UIControl)
public:
    static constexpr CGFloat kWidth = 51;
    static constexpr CGFloat kHeight = 31;

    // The switch's own size, whatever frame is asked for.
    objc::id initWithFrame(CGRect frame) override;

    bool isOn() const { return on_; }
    // Runtime selectors "isOn", "setOn:animated:".
    void setOnAnimated(bool on, bool animated);
    void setOn(bool on) { setOnAnimated(on, false); }

    void layoutSubviews() override;

private:
    // Runtime selector "_toggle": the switch's own action for a tap.
    void toggle();

    bool on_ = false;
    std::shared_ptr<UIView> track_;
    std::shared_ptr<UIView> knob_;
};
