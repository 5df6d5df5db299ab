#include "qp_lazy_scroll_view.h"

#include "foundation/timer.h"

using namespace objc;

OBJC_REGISTER(QPLazyScrollView,
    c.method<&QPLazyScrollView::initWithFrameAndDirectionDirectionCircularScrollPaging>(
        "initWithFrameAndDirection:direction:circularScroll:paging:");
    c.method<&QPLazyScrollView::awakeFromNib>("awakeFromNib");
    c.method<&QPLazyScrollView::initializeControl>("initializeControl");
    c.method<&QPLazyScrollView::numberOfPages>("numberOfPages");
    c.method<&QPLazyScrollView::setNumberOfPages>("setNumberOfPages:");
    c.method<&QPLazyScrollView::currentPage>("currentPage");
    c.method<&QPLazyScrollView::isManualAnimating>("isManualAnimating");
    c.method<&QPLazyScrollView::circularScrollEnabled>("circularScrollEnabled");
    c.method<&QPLazyScrollView::setEnableCircularScroll>("setEnableCircularScroll:");
    c.method<&QPLazyScrollView::autoPlay>("autoPlay");
    c.method<&QPLazyScrollView::setAutoPlay>("setAutoPlay:");
    c.method<&QPLazyScrollView::paging>("paging");
    c.method<&QPLazyScrollView::setPaging>("setPaging:");
    c.method<&QPLazyScrollView::autoPlayTime>("autoPlayTime");
    c.method<&QPLazyScrollView::setAutoPlayTime>("setAutoPlayTime:");
    c.method<&QPLazyScrollView::dataSource>("dataSource");
    c.method<&QPLazyScrollView::setDataSource>("setDataSource:");
    c.method<&QPLazyScrollView::controlDelegate>("controlDelegate");
    c.method<&QPLazyScrollView::setControlDelegate>("setControlDelegate:");
    c.method<&QPLazyScrollView::direction>("direction");
    c.method<&QPLazyScrollView::reloadData>("reloadData");
    c.method<&QPLazyScrollView::setCurrentViewController>("setCurrentViewController:");
    c.method<&QPLazyScrollView::setCurrentPage>("setCurrentPage:");
    c.method<&QPLazyScrollView::loadControllerAtIndexAndPlaceAtIndex>("loadControllerAtIndex:andPlaceAtIndex:");
    c.method<&QPLazyScrollView::pageIndexByAddingFrom>("pageIndexByAdding:from:");
    c.method<&QPLazyScrollView::setPageTransitionAnimated>("setPage:transition:animated:");
    c.method<&QPLazyScrollView::setPageAnimated>("setPage:animated:");
    c.method<&QPLazyScrollView::moveByPagesAnimated>("moveByPages:animated:");
    c.method<&QPLazyScrollView::createPoint>("createPoint:");
    c.method<&QPLazyScrollView::visibleRect>("visibleRect");
    c.method<&QPLazyScrollView::visibleViewController>("visibleViewController");
    c.method<&QPLazyScrollView::viewControllerFromView>("viewControllerFromView:");
    c.method<&QPLazyScrollView::traverseResponderChainForUIViewController>("traverseResponderChainForUIViewController:");
    c.method<&QPLazyScrollView::resetAutoPlay>("resetAutoPlay");
    c.method<&QPLazyScrollView::autoPlayHanlde>("autoPlayHanlde:");
    c.method<&QPLazyScrollView::autoPlayGoToNextPage>("autoPlayGoToNextPage");
    c.method<&QPLazyScrollView::autoPlayPause>("autoPlayPause");
    c.method<&QPLazyScrollView::autoPlayResume>("autoPlayResume");
    c.method<&QPLazyScrollView::scrollViewDidScroll>("scrollViewDidScroll:");
    c.method<&QPLazyScrollView::scrollViewWillBeginDragging>("scrollViewWillBeginDragging:");
    c.method<&QPLazyScrollView::scrollViewDidEndDraggingWillDecelerate>("scrollViewDidEndDragging:willDecelerate:");
    c.method<&QPLazyScrollView::scrollViewWillBeginDecelerating>("scrollViewWillBeginDecelerating:");
    c.method<&QPLazyScrollView::scrollViewDidEndDecelerating>("scrollViewDidEndDecelerating:");)

// --- Creation ---------------------------------------------------------------------------------

id QPLazyScrollView::initWithFrameAndDirectionDirectionCircularScrollPaging(CGRect frame, unsigned long direction,
                                                                           bool circular, bool paging)
{
    id made = UIScrollView::initWithFrame(frame);
    if (!made)
        return nullptr;
    direction_ = direction == QPLazyScrollViewDirectionHorizontal ? QPLazyScrollViewDirectionHorizontal
                                                                  : QPLazyScrollViewDirectionVertical;
    circularScrollEnabled_ = circular;
    autoPlayTime_ = 3.0;
    paging_ = paging;
    initializeControl();
    return made;
}

id QPLazyScrollView::initWithFrame(CGRect frame)
{
    return initWithFrameAndDirectionDirectionCircularScrollPaging(frame, QPLazyScrollViewDirectionHorizontal, false,
                                                                  true);
}

void QPLazyScrollView::awakeFromNib() { initializeControl(); }

void QPLazyScrollView::initializeControl()
{
    setShowsHorizontalScrollIndicator(false);
    setShowsVerticalScrollIndicator(false);
    setPagingEnabled(paging_);
    setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    setDelegate(self());
    setContentSize({frame().size.width, contentSize().height});
    currentPage_ = kNoPage;
}

// --- Configuration ----------------------------------------------------------------------------

CGFloat QPLazyScrollView::pageLength() const
{
    return direction_ == QPLazyScrollViewDirectionHorizontal ? frame().size.width : frame().size.height;
}

CGFloat QPLazyScrollView::offsetAlongAxis(CGPoint offset) const
{
    return direction_ == QPLazyScrollViewDirectionHorizontal ? offset.x : offset.y;
}

void QPLazyScrollView::setNumberOfPages(unsigned long count)
{
    if (count == numberOfPages_)
        return;
    numberOfPages_ = count;
    // Only the three slots after the first page length ever hold pages; the content leaves a
    // page of room on either side of them.
    const double lengths = hasMultiplePages() ? static_cast<double>(static_cast<int>(numberOfPages_ + 2)) : 1.0;
    const CGFloat along = lengths * pageLength();
    if (direction_ == QPLazyScrollViewDirectionHorizontal)
        setContentSize({along, contentSize().height});
    else
        setContentSize({frame().size.width, along});
    reloadData();
}

void QPLazyScrollView::reloadData()
{
    setCurrentViewController(0);
    resetAutoPlay();
}

void QPLazyScrollView::setAutoPlay(bool on)
{
    autoPlay_ = on;
    if (numberOfPages_ != 0)
        reloadData();
}

// --- Pages ------------------------------------------------------------------------------------

unsigned long QPLazyScrollView::pageIndexByAddingFrom(long offset, long index) const
{
    const std::uint64_t n = numberOfPages_;
    if (n == 0)
        return kNoPage;
    // A negative offset raised by the smallest multiple of the count that makes it
    // non-negative: its remainder, taken in one step rather than by repeated additions.
    std::uint64_t x = static_cast<std::uint64_t>(offset);
    if (offset < 0) {
        const std::uint64_t magnitude = static_cast<std::uint64_t>(-(offset + 1)) + 1;
        x = (n - magnitude % n) % n;
    }
    return (x + static_cast<std::uint64_t>(index) + n) % n;
}

void QPLazyScrollView::setCurrentViewController(long index)
{
    if (numberOfPages_ == 0) {
        // No pages to show: the slots are emptied and nothing is asked for.
        for (const auto& view : std::vector(subviews()))
            view->removeFromSuperview();
        currentPage_ = kNoPage;
        return;
    }
    if (static_cast<unsigned long>(index) == currentPage_)
        return;
    currentPage_ = static_cast<unsigned long>(index);
    for (const auto& view : std::vector(subviews()))
        view->removeFromSuperview();
    const auto previous = static_cast<long>(pageIndexByAddingFrom(-1, index));
    const auto next = static_cast<long>(pageIndexByAddingFrom(1, index));
    loadControllerAtIndexAndPlaceAtIndex(index, 0);
    if (hasMultiplePages()) {
        loadControllerAtIndexAndPlaceAtIndex(previous, -1);
        loadControllerAtIndexAndPlaceAtIndex(next, 1);
    }
    setContentOffset(createPoint(hasMultiplePages() ? pageLength() * 2 : 0));
    msgSendIfResponds(controlDelegate(), "lazyScrollView:currentPageChanged:"_sel, self(), currentPage_);
}

std::shared_ptr<UIViewController> QPLazyScrollView::loadControllerAtIndexAndPlaceAtIndex(long index, long place)
{
    std::shared_ptr<UIViewController> controller =
        dataSource_ ? dataSource_(static_cast<unsigned long>(index)) : nullptr;
    if (!controller)
        return nullptr;
    const std::shared_ptr<UIView> view = controller->view();
    if (!view)
        return controller;
    view->setTag(0);
    const CGFloat shift = (static_cast<CGFloat>(place) + (hasMultiplePages() ? 2 : 0)) * pageLength();
    const CGSize size = frame().size;
    view->setFrame(direction_ == QPLazyScrollViewDirectionHorizontal ? CGRectMake(shift, 0, size.width, size.height)
                                                                     : CGRectMake(0, shift, size.width, size.height));
    addSubview(view);
    return controller;
}

void QPLazyScrollView::setPageTransitionAnimated(long page, long transition, bool animated)
{
    if (static_cast<unsigned long>(page) == currentPage_)
        return;
    if (!animated) {
        setCurrentViewController(page);
        return;
    }
    if (transition == QPLazyScrollViewTransitionAuto)
        transition = currentPage_ < static_cast<unsigned long>(page) ? QPLazyScrollViewTransitionForward
                                                                     : QPLazyScrollViewTransitionBackward;
    const CGFloat s = pageLength();
    CGPoint target;
    if (transition == QPLazyScrollViewTransitionForward) {
        loadControllerAtIndexAndPlaceAtIndex(page, 1);
        target = createPoint(s * 3);
    } else {
        loadControllerAtIndexAndPlaceAtIndex(page, -1);
        target = createPoint(s);
    }
    isManualAnimating_ = true;
    const std::weak_ptr<Object> weakSelf = weak_from_this();
    UIView::animateWithDurationDelayOptionsAnimationsCompletion(
        0.4, 0, 0, [this, target] { setContentOffset(target); },
        [weakSelf, page](bool finished) {
            auto me = std::static_pointer_cast<QPLazyScrollView>(weakSelf.lock());
            if (!me || !finished)
                return;
            me->setCurrentViewController(page);
            me->isManualAnimating_ = false;
        });
}

void QPLazyScrollView::moveByPagesAnimated(long count, bool animated)
{
    const auto page = static_cast<long>(pageIndexByAddingFrom(count, static_cast<long>(currentPage_)));
    setPageTransitionAnimated(page, count < 0 ? QPLazyScrollViewTransitionBackward : QPLazyScrollViewTransitionForward,
                              animated);
}

CGPoint QPLazyScrollView::createPoint(double value) const
{
    return direction_ == QPLazyScrollViewDirectionHorizontal ? CGPointMake(value, 0) : CGPointMake(0, value);
}

CGRect QPLazyScrollView::visibleRect() const { return CGRect{contentOffset(), bounds().size}; }

std::shared_ptr<UIViewController> QPLazyScrollView::visibleViewController()
{
    const CGRect visible = visibleRect();
    for (const auto& view : std::vector(subviews()))
        if (CGRectIntersectsRect(view->frame(), visible))
            return viewControllerFromView(view);
    return nullptr;
}

std::shared_ptr<UIViewController> QPLazyScrollView::viewControllerFromView(const std::shared_ptr<UIView>& view)
{
    if (!view || !view->nextResponder())
        return nullptr;
    return traverseResponderChainForUIViewController(view->nextResponder()->weak_from_this().lock());
}

std::shared_ptr<UIViewController> QPLazyScrollView::traverseResponderChainForUIViewController(const id& responder)
{
    // Walked as a loop: a chain of any length costs no stack.
    id current = responder;
    while (current) {
        if (auto controller = std::dynamic_pointer_cast<UIViewController>(current))
            return controller;
        auto view = std::dynamic_pointer_cast<UIView>(current);
        if (!view || !view->nextResponder())
            return nullptr;
        current = view->nextResponder()->weak_from_this().lock();
    }
    return nullptr;
}

// --- Auto-play --------------------------------------------------------------------------------

void QPLazyScrollView::resetAutoPlay()
{
    autoPlayPause();
    if (autoPlay_)
        timer_autoPlay_ = NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(
            autoPlayTime_, self(), "autoPlayHanlde:"_sel, nullptr, true);
}

void QPLazyScrollView::autoPlayHanlde(const id& timer)
{
    if (hasMultiplePages())
        autoPlayGoToNextPage();
}

void QPLazyScrollView::autoPlayGoToNextPage()
{
    const unsigned long next = currentPage_ + 1 < numberOfPages_ ? currentPage_ + 1 : 0;
    setPageAnimated(static_cast<long>(next), true);
}

void QPLazyScrollView::autoPlayPause()
{
    if (timer_autoPlay_)
        timer_autoPlay_->invalidate();
    timer_autoPlay_ = nullptr;
}

// --- Scrolling --------------------------------------------------------------------------------

void QPLazyScrollView::reportScroll(bool selfDriven)
{
    const id delegate = controlDelegate();
    if (!delegate)
        return;
    if (respondsToSelector(delegate.get(), "lazyScrollViewDidScroll:at:withSelfDrivenAnimation:"_sel))
        msgSend(delegate, "lazyScrollViewDidScroll:at:withSelfDrivenAnimation:"_sel, self(), visibleRect(), selfDriven);
    else if (!selfDriven)
        msgSendIfResponds(delegate, "lazyScrollViewDidScroll:at:"_sel, self(), visibleRect());
}

void QPLazyScrollView::scrollViewDidScroll(const id& scrollView)
{
    // Before a page count there is nothing to page through.
    if (numberOfPages_ == 0 || stopping_)
        return;
    if (isManualAnimating_) {
        reportScroll(true);
        return;
    }
    auto scrolled = std::dynamic_pointer_cast<UIScrollView>(scrollView);
    if (!scrolled || !hasMultiplePages()) {
        reportScroll(false);
        return;
    }
    const CGFloat o = offsetAlongAxis(scrolled->contentOffset());
    const CGFloat s = pageLength();
    const auto current = static_cast<long>(currentPage_);
    const bool mayGoBack = circularScrollEnabled_ || currentPage_ != 0;
    const bool mayGoForward = circularScrollEnabled_ || currentPage_ < numberOfPages_ - 1;

    const unsigned long previous = pageIndexByAddingFrom(-1, current);
    const unsigned long next = pageIndexByAddingFrom(1, current);
    // With two pages the one neighbour goes to the side the user scrolls toward.
    if (previous == next)
        loadControllerAtIndexAndPlaceAtIndex(static_cast<long>(previous), o <= 2 * s ? -1 : 1);

    if ((!mayGoBack && o <= 2 * s) || (!mayGoForward && o > 2 * s)) {
        setBounces(false);
        // Putting the content back is part of the stop, not a scroll of its own: on the last
        // page a step at the middle would turn bouncing on again and report.
        stopping_ = true;
        scrolled->setContentOffset(createPoint(2 * s));
        stopping_ = false;
        return;
    }
    setBounces(true);
    unsigned long page = currentPage_;
    if (o <= s)
        page = pageIndexByAddingFrom(-1, current);
    else if (o >= 3 * s)
        page = pageIndexByAddingFrom(1, current);
    setCurrentViewController(static_cast<long>(page));
    reportScroll(false);
}

void QPLazyScrollView::scrollViewWillBeginDragging(const id& scrollView)
{
    autoPlayPause();
    msgSendIfResponds(controlDelegate(), "lazyScrollViewWillBeginDragging:"_sel, self());
}

void QPLazyScrollView::scrollViewDidEndDraggingWillDecelerate(const id& scrollView, bool decelerate)
{
    setBounces(true);
    msgSendIfResponds(controlDelegate(), "lazyScrollViewDidEndDragging:"_sel, self());
    autoPlayResume();
}

void QPLazyScrollView::scrollViewWillBeginDecelerating(const id& scrollView)
{
    msgSendIfResponds(controlDelegate(), "lazyScrollViewWillBeginDecelerating:"_sel, self());
}

void QPLazyScrollView::scrollViewDidEndDecelerating(const id& scrollView)
{
    msgSendIfResponds(controlDelegate(), "lazyScrollViewDidEndDecelerating:atPageIndex:"_sel, self(), currentPage_);
}
