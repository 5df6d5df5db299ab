// Scroll views: a view whose bounds origin is the content offset, so moving the offset moves
// every subview (the content) the other way. Dragging is simulated (see drag_simulator.h);
// the delegate hears about every change through the runtime, and only about the messages it
// answers.
//
// Ownership: the delegate is not retained (it is often the scroll view itself, or the object
// that owns it).
#pragma once

#include "uikit/view.h"

#include <memory>

class UIScrollView : public UIView {
    OBJC_CLASS(UIScrollView, UIView)
public:
    objc::id initWithFrame(CGRect frame) override;

    // --- Content ------------------------------------------------------------------------
    CGSize contentSize() const { return contentSize_; }
    virtual void setContentSize(CGSize size);
    // The bounds origin. Setting it sends scrollViewDidScroll: when it changes; it is not
    // clamped (only a drag keeps the content in range). Non-finite values are ignored.
    CGPoint contentOffset() const { return bounds().origin; }
    virtual void setContentOffset(CGPoint offset);
    // Runs through the view animation helper, so it completes at once; the delegate also
    // receives scrollViewDidEndScrollingAnimation: when animated.
    virtual void setContentOffsetAnimated(CGPoint offset, bool animated);
    UIEdgeInsets contentInset() const { return contentInset_; }
    void setContentInset(UIEdgeInsets inset) { contentInset_ = inset; }
    // The range a drag settles into: from (-left inset, -top inset) to the end of the content
    // plus its insets, never below the start.
    CGPoint minimumContentOffset() const;
    CGPoint maximumContentOffset() const;
    CGPoint clampedContentOffset(CGPoint offset) const;
    // Whether a drag moves the content along an axis: there is more content than room, or
    // bouncing is on and asked for on that axis even for short content.
    bool canScrollHorizontally() const;
    bool canScrollVertically() const;

    // --- Behaviour ----------------------------------------------------------------------
    bool bounces() const { return bounces_; }
    void setBounces(bool bounces) { bounces_ = bounces; }
    bool alwaysBounceVertical() const { return alwaysBounceVertical_; }
    void setAlwaysBounceVertical(bool on) { alwaysBounceVertical_ = on; }
    bool alwaysBounceHorizontal() const { return alwaysBounceHorizontal_; }
    void setAlwaysBounceHorizontal(bool on) { alwaysBounceHorizontal_ = on; }
    bool isPagingEnabled() const { return pagingEnabled_; }
    void setPagingEnabled(bool on) { pagingEnabled_ = on; }
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool on) { scrollEnabled_ = on; }
    bool showsHorizontalScrollIndicator() const { return showsHorizontalScrollIndicator_; }
    void setShowsHorizontalScrollIndicator(bool on) { showsHorizontalScrollIndicator_ = on; }
    bool showsVerticalScrollIndicator() const { return showsVerticalScrollIndicator_; }
    void setShowsVerticalScrollIndicator(bool on) { showsVerticalScrollIndicator_ = on; }
    bool isDragging() const { return dragging_; }
    bool isDecelerating() const { return decelerating_; }

    // --- Delegate -----------------------------------------------------------------------
    objc::id delegate() const { return delegate_.lock(); }
    virtual void setDelegate(const objc::id& delegate) { delegate_ = delegate; }

    // The origin change reaches the delegate as a scroll, whoever changes the bounds.
    void setBounds(CGRect bounds) override;

protected:
    // Sends a one-argument delegate message ("scrollViewDidScroll:" and its kin) with this
    // view, when the delegate answers it.
    void tellDelegate(objc::SEL sel);

private:
    friend void simulateDrag(UIScrollView* scrollView, CGPoint translation, bool decelerate);

    CGSize contentSize_{};
    UIEdgeInsets contentInset_{};
    bool bounces_ = true;
    bool alwaysBounceVertical_ = false;
    bool alwaysBounceHorizontal_ = false;
    bool pagingEnabled_ = false;
    bool scrollEnabled_ = true;
    bool showsHorizontalScrollIndicator_ = true;
    bool showsVerticalScrollIndicator_ = true;
    bool dragging_ = false;
    bool decelerating_ = false;
    std::weak_ptr<objc::Object> delegate_;
};
