#include "preferences/ps_switch_control.h"

using objc::operator""_sel;

OBJC_REGISTER(PSSwitchControl,
    c.method<&PSSwitchControl::isOn>("isOn");
    c.method<&PSSwitchControl::setOnAnimated>("setOn:animated:");
    c.method<&PSSwitchControl::toggle>("_toggle");)

namespace {
constexpr CGFloat kKnobInset = 2;
} // namespace

objc::id PSSwitchControl::initWithFrame(CGRect frame)
{
    objc::id made = UIControl::initWithFrame(CGRectMake(frame.origin.x, frame.origin.y, kWidth, kHeight));
    if (!made)
        return nullptr;
    track_ = UIView::create(bounds());
    track_->layer()->setCornerRadius(kHeight / 2);
    track_->setUserInteractionEnabled(false);
    addSubview(track_);
    const CGFloat side = kHeight - 2 * kKnobInset;
    knob_ = UIView::create(CGRectMake(kKnobInset, kKnobInset, side, side));
    knob_->setBackgroundColor(UIColor::whiteColor());
    knob_->layer()->setCornerRadius(side / 2);
    knob_->layer()->setShadowColor(UIColor::blackColor()->CGColor());
    knob_->layer()->setShadowOpacity(0.3f);
    knob_->layer()->setShadowOffset({0, 2});
    knob_->layer()->setShadowRadius(2);
    knob_->setUserInteractionEnabled(false);
    addSubview(knob_);
    // A tap is a touch that ends inside: that is what flips the switch.
    addTargetActionForControlEvents(self(), "_toggle"_sel, UIControlEventTouchUpInside);
    setNeedsLayout();
    return made;
}

void PSSwitchControl::setOnAnimated(bool on, bool)
{
    on_ = on;
    setNeedsLayout();
    layoutIfNeeded();
}

void PSSwitchControl::toggle()
{
    if (!isEnabled())
        return;
    setOn(!on_);
    sendActionsForControlEvents(UIControlEventValueChanged);
}

void PSSwitchControl::layoutSubviews()
{
    UIControl::layoutSubviews();
    if (!track_ || !knob_)
        return;
    track_->setFrame(bounds());
    if (on_) {
        track_->setBackgroundColor(UIColor::colorWithRedGreenBlueAlpha(0.30, 0.85, 0.39, 1));
        track_->layer()->setBorderWidth(0);
    } else {
        track_->setBackgroundColor(UIColor::whiteColor());
        track_->layer()->setBorderWidth(1.5);
        track_->layer()->setBorderColor(UIColor::colorWithWhiteAlpha(0.88, 1)->CGColor());
    }
    const CGFloat side = knob_->bounds().size.width;
    const CGFloat x = on_ ? bounds().size.width - kKnobInset - side : kKnobInset;
    knob_->setFrame(CGRectMake(x, kKnobInset, side, side));
}
