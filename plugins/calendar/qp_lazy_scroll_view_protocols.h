// What a QPLazyScrollView asks of others: a data source that makes the page views, and an
// optional delegate that hears about drags, scrolls and page changes.
#pragma once

#include "uikit/view_controller.h"

#include <functional>
#include <memory>

// The data source: the view controller whose view shows the page with the index. The scroll
// view keeps the page view only while it shows it; keeping the controller is the caller's affair.
using QPLazyScrollViewDataSource = std::function<std::shared_ptr<UIViewController>(unsigned long pageIndex)>;

// The scroll axis. Any value other than horizontal counts as vertical.
enum QPLazyScrollViewDirection : unsigned long {
    QPLazyScrollViewDirectionHorizontal = 0,
    QPLazyScrollViewDirectionVertical = 1,
};

// Which side an animated jump comes from; Auto picks by the order of the two pages.
enum QPLazyScrollViewTransition : long {
    QPLazyScrollViewTransitionAuto = 0,
    QPLazyScrollViewTransitionForward = 1,
    QPLazyScrollViewTransitionBackward = 2,
};

// QPLazyScrollViewDelegate: every message is optional and is sent only when the control delegate
// answers it (the view travels as an object, page indices as unsigned long):
//   "lazyScrollViewWillBeginDragging:"              (view)
//   "lazyScrollViewDidEndDragging:"                 (view)
//   "lazyScrollViewWillBeginDecelerating:"          (view)
//   "lazyScrollViewDidEndDecelerating:atPageIndex:" (view, current page)
//   "lazyScrollViewDidScroll:at:withSelfDrivenAnimation:" (view, visible rectangle, bool): every
//       scroll step, true while an animated jump runs
//   "lazyScrollViewDidScroll:at:"                   (view, visible rectangle): every scroll step
//       outside animated jumps, only to a delegate that does not answer the message above
//   "lazyScrollView:currentPageChanged:"            (view, current page): after the three slots
//       were loaded around a new current page
