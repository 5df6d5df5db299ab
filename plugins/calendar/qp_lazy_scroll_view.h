// QPLazyScrollView: a scroll view that pages through any number of pages while holding at most
// three page views (the current page and its two neighbours), asking its data source for them.
// Scrolling a whole page makes the neighbour current, reloads the three slots around it and puts
// the content back on the middle slot, so with circular scrolling it never ends. It also makes
// animated jumps to any page, turns pages by itself on a timer (auto-play) and reports to an
// optional control delegate (see qp_lazy_scroll_view_protocols.h).
//
// With several pages the previous, current and next pages stand one, two and three page lengths
// along the axis and the content rests at two; with one page it stands at the start.
//
// Ownership: the view is its own scroll view delegate; it owns its data source callable and its
// auto-play timer (which holds the view while it runs); the control delegate is not retained.
#pragma once

#include "qp_lazy_scroll_view_protocols.h"

#include "uikit/scroll_view.h"

#include <cstdint>
#include <memory>

class NSTimer;

class QPLazyScrollView : public UIScrollView {
    OBJC_CLASS(QPLazyScrollView, UIScrollView)
public:
    // currentPage before any page is shown, and the index that names no page.
    static constexpr unsigned long kNoPage = 9223372036854775807UL;

    // Runtime selector "initWithFrameAndDirection:direction:circularScroll:paging:".
    objc::id initWithFrameAndDirectionDirectionCircularScrollPaging(CGRect frame, unsigned long direction,
                                                                    bool circular, bool paging);
    // Horizontal, not circular, platform paging on.
    objc::id initWithFrame(CGRect frame) override;
    // Creation from an interface file: only the common set-up.
    void awakeFromNib();
    // Indicators off, paging flag from `paging`, flexible size, own delegate, no page yet.
    void initializeControl();

    // --- Configuration --------------------------------------------------------------------
    unsigned long numberOfPages() const { return numberOfPages_; }
    // Sizes the content for the count and shows page 0; an unchanged count does nothing.
    void setNumberOfPages(unsigned long count);
    unsigned long currentPage() const { return currentPage_; }
    bool isManualAnimating() const { return isManualAnimating_; }
    bool circularScrollEnabled() const { return circularScrollEnabled_; }
    void setEnableCircularScroll(bool on) { circularScrollEnabled_ = on; }
    bool autoPlay() const { return autoPlay_; }
    void setAutoPlay(bool on);
    bool paging() const { return paging_; }
    // Stored only: the platform paging flag follows at the next common set-up.
    void setPaging(bool on) { paging_ = on; }
    double autoPlayTime() const { return autoPlayTime_; }
    void setAutoPlayTime(double seconds) { autoPlayTime_ = seconds; }
    const QPLazyScrollViewDataSource& dataSource() const { return dataSource_; }
    void setDataSource(QPLazyScrollViewDataSource source) { dataSource_ = std::move(source); }
    objc::id controlDelegate() const { return controlDelegate_.lock(); }
    void setControlDelegate(const objc::id& delegate) { controlDelegate_ = delegate; }
    unsigned long direction() const { return direction_; }
    const std::shared_ptr<NSTimer>& autoPlayTimer() const { return timer_autoPlay_; }

    // Shows page 0 (nothing new when it is already current), then resets auto-play.
    void reloadData();

    // --- Pages ----------------------------------------------------------------------------
    // Makes the page current: asks for it, then (with several pages) for its previous and its
    // next page, and puts the content on the middle slot. Nothing when it already is current.
    void setCurrentViewController(long index);
    void setCurrentPage(long index) { setCurrentViewController(index); }
    // Asks the data source for the page and places its view at place -1, 0 or +1.
    std::shared_ptr<UIViewController> loadControllerAtIndexAndPlaceAtIndex(long index, long place);
    // The page `offset` pages away from `index`, wrapping around the page count; kNoPage when
    // there are no pages.
    unsigned long pageIndexByAddingFrom(long offset, long index) const;
    void setPageTransitionAnimated(long page, long transition, bool animated);
    void setPageAnimated(long page, bool animated) { setPageTransitionAnimated(page, QPLazyScrollViewTransitionForward, animated); }
    void moveByPagesAnimated(long count, bool animated);

    // A point on the scroll axis.
    CGPoint createPoint(double value) const;
    // The content offset with the bounds' size.
    CGRect visibleRect() const;
    // The controller of the first page view in view, found through the responder chain.
    std::shared_ptr<UIViewController> visibleViewController();
    std::shared_ptr<UIViewController> viewControllerFromView(const std::shared_ptr<UIView>& view);
    std::shared_ptr<UIViewController> traverseResponderChainForUIViewController(const objc::id& responder);

    // --- Auto-play ------------------------------------------------------------------------
    void resetAutoPlay();
    void autoPlayHanlde(const objc::id& timer);
    void autoPlayGoToNextPage();
    void autoPlayPause();
    void autoPlayResume() { resetAutoPlay(); }

    // --- Scroll view delegate messages (from the view itself) ------------------------------
    void scrollViewDidScroll(const objc::id& scrollView);
    void scrollViewWillBeginDragging(const objc::id& scrollView);
    void scrollViewDidEndDraggingWillDecelerate(const objc::id& scrollView, bool decelerate);
    void scrollViewWillBeginDecelerating(const objc::id& scrollView);
    void scrollViewDidEndDecelerating(const objc::id& scrollView);

private:
    bool hasMultiplePages() const { return numberOfPages_ > 1; }
    CGFloat pageLength() const;
    CGFloat offsetAlongAxis(CGPoint offset) const;
    void reportScroll(bool selfDriven);

    unsigned long numberOfPages_ = 0;
    unsigned long currentPage_ = kNoPage;
    bool isManualAnimating_ = false;
    bool stopping_ = false; // an end stop is putting the content back
    bool circularScrollEnabled_ = false;
    bool autoPlay_ = false;
    bool paging_ = true;
    QPLazyScrollViewDataSource dataSource_;
    std::weak_ptr<objc::Object> controlDelegate_;
    std::shared_ptr<NSTimer> timer_autoPlay_;
    double autoPlayTime_ = 3.0;
    unsigned long direction_ = QPLazyScrollViewDirectionHorizontal;
};
