#include "springboard/lock_screen_view.h"

#include "foundation/date.h"
#include "foundation/date_formatter.h"
#include "uikit/color.h"
#include "uikit/drawing.h"
#include "uikit/font.h"
#include "uikit/image.h"

#include <algorithm>

using objc::operator""_sel;

namespace {

// The wallpaper: a dusk gradient with a soft glow, drawn once per size.
std::shared_ptr<UIImage> drawWallpaper(CGSize size)
{
    if (size.width <= 0 || size.height <= 0)
        return nullptr;
    UIGraphicsBeginImageContextWithOptions(size, true, 0);
    cairo_t* cr = UIGraphicsGetCurrentContext();
    if (!cr) {
        UIGraphicsEndImageContext();
        return nullptr;
    }
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, size.height);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.09, 0.20, 0.38);
    cairo_pattern_add_color_stop_rgb(sky, 0.6, 0.30, 0.22, 0.45);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.62, 0.34, 0.38);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);

    const double cx = size.width * 0.7, cy = size.height * 0.62, r = size.width * 0.6;
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.78, 0.55, 0.45);
    cairo_pattern_add_color_stop_rgba(glow, 1, 1.0, 0.78, 0.55, 0.0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);

    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

std::shared_ptr<UILabel> makeLabel(CGFloat fontSize, const std::string& fontName)
{
    auto label = UIView::create<UILabel>(CGRectZero);
    auto font = UIFont::fontWithNameSize(fontName, fontSize);
    label->setFont(font ? font : UIFont::systemFontOfSize(fontSize));
    label->setTextColor(UIColor::whiteColor());
    label->setTextAlignment(NSTextAlignment::Center);
    return label;
}

std::string nowFormatted(const char* pattern)
{
    auto formatter = std::make_shared<NSDateFormatter>();
    formatter->setDateFormat(pattern);
    return formatter->stringFromDate(NSDate::date());
}

bool containsIdentical(const NSMutableArray& list, const objc::id& object)
{
    return std::any_of(list.begin(), list.end(), [&](const objc::id& o) { return o == object; });
}

void removeIdentical(NSMutableArray& list, const objc::id& object)
{
    for (unsigned long i = 0; i < list.count(); ++i) {
        if (list.objectAtIndex(i) == object) {
            list.removeObjectAtIndex(i);
            return;
        }
    }
}

} // namespace

objc::id SBLockScreenView::initWithFrame(CGRect frame)
{
    if (!UIView::initWithFrame(frame))
        return nullptr;
    setBackgroundColor(UIColor::blackColor());
    layer()->setContents(drawWallpaper(frame.size));

    underlayView_ = UIView::create<UIView>(bounds());
    underlayView_->setBackgroundColor(UIColor::colorWithWhiteAlpha(0, 0.35));
    underlayView_->setUserInteractionEnabled(false);
    underlayView_->setHidden(true);
    addSubview(underlayView_);

    timeLabel_ = makeLabel(60, ".HelveticaNeueInterface-UltraLightP2");
    addSubview(timeLabel_);
    dateLabel_ = makeLabel(17, ".HelveticaNeueInterface-UltraLightP2");
    addSubview(dateLabel_);
    setNeedsLayout();
    return self();
}

void SBLockScreenView::layoutSubviews()
{
    const CGRect b = bounds();
    const CGFloat w = b.size.width;
    underlayView_->setFrame(b);
    timeLabel_->setFrame(CGRectMake(0, 28, w, 64));
    timeLabel_->setText(nowFormatted("H:mm"));
    dateLabel_->setFrame(CGRectMake(0, 92, w, 24));
    dateLabel_->setText(nowFormatted("EEEE, d MMMM"));
    if (notificationView_)
        notificationView_->setFrame(
            CGRectMake(0, kNotificationListTop, w, std::max<CGFloat>(0, b.size.height - kNotificationListTop)));
    if (mediaView_)
        mediaView_->setFrame(CGRectMake(40, kNotificationListTop + 10, w - 80, w - 80));
}

void SBLockScreenView::_addLockContentUnderlayWithRequester(const objc::id& requester)
{
    // A list holding itself would keep itself alive for ever. The other list is a fine requester:
    // it never holds a list (below), so no cycle can form.
    if (!requester || requester == _contentUnderlayRequesters)
        return;
    if (!containsIdentical(*_contentUnderlayRequesters, requester))
        _contentUnderlayRequesters->addObject(requester);
    updateUnderlay();
}

void SBLockScreenView::_removeLockContentUnderlayWithRequester(const objc::id& requester)
{
    removeIdentical(*_contentUnderlayRequesters, requester);
    updateUnderlay();
}

void SBLockScreenView::_setMediaControlsHiddenForRequester(bool hidden, const objc::id& requester)
{
    if (!requester || requester == _contentUnderlayRequesters || requester == _mediaControlsHiddenRequesters)
        return;
    if (hidden && !containsIdentical(*_mediaControlsHiddenRequesters, requester))
        _mediaControlsHiddenRequesters->addObject(requester);
    else if (!hidden)
        removeIdentical(*_mediaControlsHiddenRequesters, requester);
    updateMediaVisibility();
}

void SBLockScreenView::setNotificationView(const std::shared_ptr<UIView>& view)
{
    if (notificationView_)
        notificationView_->removeFromSuperview();
    notificationView_ = view;
    if (view)
        addSubview(view);
    setNeedsLayout();
}

void SBLockScreenView::setMediaView(const std::shared_ptr<UIView>& view)
{
    if (mediaView_)
        mediaView_->removeFromSuperview();
    mediaView_ = view;
    mediaHiddenByRequesters_ = false;
    if (view) {
        // Behind the list, in front of the underlay.
        insertSubviewAboveSubview(view, underlayView_.get());
        updateMediaVisibility();
    }
    setNeedsLayout();
}

void SBLockScreenView::updateUnderlay() { underlayView_->setHidden(_contentUnderlayRequesters->count() == 0); }

void SBLockScreenView::updateMediaVisibility()
{
    if (!mediaView_)
        return;
    if (areMediaControlsHidden() && !mediaView_->isHidden()) {
        mediaView_->setHidden(true);
        mediaHiddenByRequesters_ = true;
    } else if (!areMediaControlsHidden() && mediaHiddenByRequesters_) {
        // Only the requesters' own hiding is undone: whoever else hid the artwork keeps it hidden.
        mediaView_->setHidden(false);
        mediaHiddenByRequesters_ = false;
    }
}

OBJC_REGISTER(SBLockScreenView,
    c.ivar<&SBLockScreenView::_contentUnderlayRequesters>("_contentUnderlayRequesters");
    c.ivar<&SBLockScreenView::_mediaControlsHiddenRequesters>("_mediaControlsHiddenRequesters");
    c.method<&SBLockScreenView::initWithFrame>("initWithFrame:");
    c.method<&SBLockScreenView::layoutSubviews>("layoutSubviews");
    c.method<&SBLockScreenView::_addLockContentUnderlayWithRequester>("_addLockContentUnderlayWithRequester:");
    c.method<&SBLockScreenView::_removeLockContentUnderlayWithRequester>("_removeLockContentUnderlayWithRequester:");
    c.method<&SBLockScreenView::_setMediaControlsHiddenForRequester>("_setMediaControlsHidden:forRequester:");)
