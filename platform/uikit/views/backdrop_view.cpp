#include "uikit/backdrop_view.h"

#include "foundation/ns_string.h"

#include <algorithm>

using objc::operator""_sel;

void _UIBackdropViewSettings::setColorTintAlpha(double alpha)
{
    colorTintAlpha_ = std::isnan(alpha) ? 0 : std::clamp(alpha, 0.0, 1.0);
}

_UIBackdropView::_UIBackdropView()
{
    setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
}

std::shared_ptr<_UIBackdropView> _UIBackdropView::createWithStyle(long style)
{
    return objc::msgSend<std::shared_ptr<_UIBackdropView>>(objc::alloc<_UIBackdropView>(), "initWithStyle:"_sel, style);
}

objc::id _UIBackdropView::initWithStyle(long style)
{
    style_ = style;
    switch (style) {
    case 0:
        settings_->setColorTint(UIColor::whiteColor());
        settings_->setColorTintAlpha(0.3);
        break;
    case 1:
        settings_->setColorTint(UIColor::whiteColor());
        settings_->setColorTintAlpha(0.7);
        break;
    case 2:
        settings_->setColorTint(UIColor::blackColor());
        settings_->setColorTintAlpha(0.4);
        break;
    default:
        break;
    }
    return objc::msgSend<objc::id>(this, "initWithFrame:"_sel, CGRectZero);
}

std::shared_ptr<NSString> _UIBackdropView::blurQualityString() const { return NSStr(blurQuality_); }

void _UIBackdropView::setBlurQualityString(const std::shared_ptr<NSString>& quality)
{
    setBlurQuality(quality ? quality->string() : std::string());
}

void _UIBackdropView::fillSuperview()
{
    if (UIView* parent = superview(); parent && frame() != parent->bounds())
        UIView::setFrame(parent->bounds());
}

void _UIBackdropView::setFrame(CGRect frame)
{
    if (superview())
        fillSuperview();
    else
        UIView::setFrame(frame);
}

void _UIBackdropView::didMoveToSuperview() { fillSuperview(); }

void _UIBackdropView::resizeWithOldSuperviewSize(CGSize) { fillSuperview(); }

void _UIBackdropView::layoutSubviews() { fillSuperview(); }

OBJC_REGISTER(_UIBackdropViewSettings,
    c.method<&_UIBackdropViewSettings::colorTint>("colorTint");
    c.method<&_UIBackdropViewSettings::setColorTint>("setColorTint:");
    c.method<&_UIBackdropViewSettings::colorTintAlpha>("colorTintAlpha");
    c.method<&_UIBackdropViewSettings::setColorTintAlpha>("setColorTintAlpha:");)
OBJC_REGISTER(_UIBackdropView,
    c.method<&_UIBackdropView::initWithStyle>("initWithStyle:");
    c.method<&_UIBackdropView::inputSettings>("inputSettings");
    c.method<&_UIBackdropView::blurRadius>("blurRadius");
    c.method<&_UIBackdropView::setBlurRadius>("setBlurRadius:");
    c.method<&_UIBackdropView::blurRadiusSetOnce>("blurRadiusSetOnce");
    c.method<&_UIBackdropView::setBlurRadiusSetOnce>("setBlurRadiusSetOnce:");
    c.method<&_UIBackdropView::blurQualityString>("blurQuality");
    c.method<&_UIBackdropView::setBlurQualityString>("setBlurQuality:");)
