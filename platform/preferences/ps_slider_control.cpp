#include "preferences/ps_slider_control.h"

#include <algorithm>
#include <cmath>

OBJC_REGISTER(PSSliderControl,
    c.method<&PSSliderControl::value>("value");
    c.method<&PSSliderControl::setValue>("setValue:");
    c.method<&PSSliderControl::minimumValue>("minimumValue");
    c.method<&PSSliderControl::maximumValue>("maximumValue");)

namespace {
constexpr CGFloat kKnob = 28;
constexpr CGFloat kTrack = 2;
} // namespace

objc::id PSSliderControl::initWithFrame(CGRect frame)
{
    objc::id made = UIControl::initWithFrame(frame);
    if (!made)
        return nullptr;
    track_ = UIView::create(CGRectZero);
    track_->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.72, 1));
    filled_ = UIView::create(CGRectZero);
    filled_->setBackgroundColor(tintColor());
    knob_ = UIView::create(CGRectMake(0, 0, kKnob, kKnob));
    knob_->setBackgroundColor(UIColor::whiteColor());
    knob_->layer()->setCornerRadius(kKnob / 2);
    knob_->layer()->setShadowColor(UIColor::blackColor()->CGColor());
    knob_->layer()->setShadowOpacity(0.3f);
    knob_->layer()->setShadowOffset({0, 2});
    knob_->layer()->setShadowRadius(2);
    for (const auto& part : {track_, filled_, knob_}) {
        part->setUserInteractionEnabled(false);
        addSubview(part);
    }
    return made;
}

void PSSliderControl::setRange(float minimum, float maximum)
{
    if (!std::isfinite(minimum) || !std::isfinite(maximum))
        return;
    minimum_ = std::min(minimum, maximum);
    maximum_ = std::max(minimum, maximum);
    setValue(value_);
}

void PSSliderControl::setValue(float value)
{
    if (std::isnan(value))
        return;
    value_ = std::clamp(value, minimum_, maximum_);
    setNeedsLayout();
}

void PSSliderControl::layoutSubviews()
{
    UIControl::layoutSubviews();
    if (!track_ || !filled_ || !knob_)
        return;
    const CGSize size = bounds().size;
    const CGFloat run = std::max<CGFloat>(0, size.width - kKnob);
    const double span = maximum_ - minimum_;
    const CGFloat fraction = span > 0 ? static_cast<CGFloat>((value_ - minimum_) / span) : 0;
    const CGFloat centre = kKnob / 2 + run * fraction;
    const CGFloat y = (size.height - kTrack) / 2;
    track_->setFrame(CGRectMake(kKnob / 2, y, run, kTrack));
    filled_->setFrame(CGRectMake(kKnob / 2, y, centre - kKnob / 2, kTrack));
    knob_->setFrame(CGRectMake(centre - kKnob / 2, (size.height - kKnob) / 2, kKnob, kKnob));
}
