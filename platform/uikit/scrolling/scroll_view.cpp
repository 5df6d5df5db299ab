#include "uikit/scroll_view.h"

#include <algorithm>
#include <cmath>

using namespace objc;

OBJC_REGISTER(UIScrollView,
    c.method<&UIScrollView::contentSize>("contentSize");
    c.method<&UIScrollView::setContentSize>("setContentSize:");
    c.method<&UIScrollView::contentOffset>("contentOffset");
    c.method<&UIScrollView::setContentOffset>("setContentOffset:");
    c.method<&UIScrollView::setContentOffsetAnimated>("setContentOffset:animated:");
    c.method<&UIScrollView::contentInset>("contentInset");
    c.method<&UIScrollView::setContentInset>("setContentInset:");
    c.method<&UIScrollView::bounces>("bounces");
    c.method<&UIScrollView::setBounces>("setBounces:");
    c.method<&UIScrollView::setAlwaysBounceVertical>("setAlwaysBounceVertical:");
    c.method<&UIScrollView::setAlwaysBounceHorizontal>("setAlwaysBounceHorizontal:");
    c.method<&UIScrollView::isPagingEnabled>("isPagingEnabled");
    c.method<&UIScrollView::setPagingEnabled>("setPagingEnabled:");
    c.method<&UIScrollView::isScrollEnabled>("isScrollEnabled");
    c.method<&UIScrollView::setScrollEnabled>("setScrollEnabled:");
    c.method<&UIScrollView::showsHorizontalScrollIndicator>("showsHorizontalScrollIndicator");
    c.method<&UIScrollView::setShowsHorizontalScrollIndicator>("setShowsHorizontalScrollIndicator:");
    c.method<&UIScrollView::showsVerticalScrollIndicator>("showsVerticalScrollIndicator");
    c.method<&UIScrollView::setShowsVerticalScrollIndicator>("setShowsVerticalScrollIndicator:");
    c.method<&UIScrollView::isDragging>("isDragging");
    c.method<&UIScrollView::isDecelerating>("isDecelerating");
    c.method<&UIScrollView::delegate>("delegate");
    c.method<&UIScrollView::setDelegate>("setDelegate:");)

id UIScrollView::initWithFrame(CGRect frame)
{
    id made = UIView::initWithFrame(frame);
    if (made)
        setClipsToBounds(true);
    return made;
}

void UIScrollView::setContentSize(CGSize size)
{
    // Negative or non-finite sizes describe no content.
    const auto sane = [](CGFloat v) { return std::isfinite(v) && v > 0 ? v : 0.0; };
    contentSize_ = {sane(size.width), sane(size.height)};
}

void UIScrollView::setContentOffset(CGPoint offset)
{
    if (!std::isfinite(offset.x) || !std::isfinite(offset.y))
        return;
    CGRect b = bounds();
    b.origin = offset;
    setBounds(b);
}

void UIScrollView::setContentOffsetAnimated(CGPoint offset, bool animated)
{
    if (!animated) {
        setContentOffset(offset);
        return;
    }
    UIView::animateWithDurationAnimations(0.3, [&] { setContentOffset(offset); });
    tellDelegate("scrollViewDidEndScrollingAnimation:"_sel);
}

void UIScrollView::setBounds(CGRect newBounds)
{
    const CGPoint before = bounds().origin;
    UIView::setBounds(newBounds);
    if (bounds().origin != before) {
        setNeedsLayout();
        tellDelegate("scrollViewDidScroll:"_sel);
    }
}

CGPoint UIScrollView::minimumContentOffset() const
{
    return {-contentInset_.left, -contentInset_.top};
}

CGPoint UIScrollView::maximumContentOffset() const
{
    const CGPoint low = minimumContentOffset();
    const CGSize room = bounds().size;
    return {std::max(low.x, contentSize_.width + contentInset_.right - room.width),
            std::max(low.y, contentSize_.height + contentInset_.bottom - room.height)};
}

CGPoint UIScrollView::clampedContentOffset(CGPoint offset) const
{
    const CGPoint low = minimumContentOffset(), high = maximumContentOffset();
    return {std::clamp(offset.x, low.x, high.x), std::clamp(offset.y, low.y, high.y)};
}

bool UIScrollView::canScrollHorizontally() const
{
    return maximumContentOffset().x > minimumContentOffset().x || (bounces_ && alwaysBounceHorizontal_);
}

bool UIScrollView::canScrollVertically() const
{
    return maximumContentOffset().y > minimumContentOffset().y || (bounces_ && alwaysBounceVertical_);
}

void UIScrollView::tellDelegate(SEL sel)
{
    id target = delegate_.lock();
    if (!target || !respondsToSelector(target.get(), sel))
        return;
    msgSend(target, sel, id(weak_from_this().lock()));
}
