// SBLockScreenView: the whole lock screen. It shows the wallpaper, the time and date, the
// notification list view in its lower part and, while media plays, the now-playing artwork.
// Behind the list lies the content underlay, a dark veil shown while anyone requests it.
//
// Frames on the 320 × 568 screen: time (0, 28, W, 64), date (0, 92, W, 24), notification list
// view (0, 150, W, H − 150), now-playing artwork (40, 160, W − 80, W − 80) behind the list,
// underlay over the whole view.
//
// The runtime sees "_contentUnderlayRequesters" and "_mediaControlsHiddenRequesters" (lists of
// requesters, each requester once, compared by identity), "layoutSubviews" and
// "_addLockContentUnderlayWithRequester:", which the host sends through the runtime.
//
// Ownership: the view owns its subviews and both requester lists (which hold their requesters).
#pragma once

#include "foundation/ns_array.h"
#include "uikit/label.h"
#include "uikit/view.h"

#include <memory>

class SBLockScreenView : public UIView {
    OBJC_CLASS(SBLockScreenView, UIView)
public:
    static constexpr CGFloat kNotificationListTop = 150;

    objc::id initWithFrame(CGRect frame) override;
    void layoutSubviews() override;

    // Runtime selectors "_addLockContentUnderlayWithRequester:" and
    // "_removeLockContentUnderlayWithRequester:". The underlay shows while one requester or
    // more is listed. A nil requester, or the underlay's own requester list, is ignored.
    void _addLockContentUnderlayWithRequester(const objc::id& requester);
    void _removeLockContentUnderlayWithRequester(const objc::id& requester);
    // Runtime selector "_setMediaControlsHidden:forRequester:": the artwork hides while one
    // requester or more asks for it. A nil requester, or one of the view's requester lists, is
    // ignored.
    void _setMediaControlsHiddenForRequester(bool hidden, const objc::id& requester);

    bool isContentUnderlayShown() const { return !underlayView_->isHidden(); }
    bool areMediaControlsHidden() const { return _mediaControlsHiddenRequesters->count() > 0; }
    const std::shared_ptr<NSMutableArray>& contentUnderlayRequesters() const { return _contentUnderlayRequesters; }
    const std::shared_ptr<NSMutableArray>& mediaControlsHiddenRequesters() const { return _mediaControlsHiddenRequesters; }

    // The notification list view, placed by the layout.
    void setNotificationView(const std::shared_ptr<UIView>& view);
    const std::shared_ptr<UIView>& notificationView() const { return notificationView_; }
    // The now-playing artwork, placed behind the list (nil takes it away).
    void setMediaView(const std::shared_ptr<UIView>& view);
    const std::shared_ptr<UIView>& mediaView() const { return mediaView_; }
    const std::shared_ptr<UIView>& underlayView() const { return underlayView_; }
    const std::shared_ptr<UILabel>& timeLabel() const { return timeLabel_; }
    const std::shared_ptr<UILabel>& dateLabel() const { return dateLabel_; }

private:
    void updateUnderlay();
    void updateMediaVisibility();

    std::shared_ptr<NSMutableArray> _contentUnderlayRequesters = NSMutableArray::array();
    std::shared_ptr<NSMutableArray> _mediaControlsHiddenRequesters = NSMutableArray::array();
    std::shared_ptr<UIView> underlayView_;
    std::shared_ptr<UILabel> timeLabel_;
    std::shared_ptr<UILabel> dateLabel_;
    std::shared_ptr<UIView> notificationView_;
    std::shared_ptr<UIView> mediaView_;
    bool mediaHiddenByRequesters_ = false;
};
