#include "uikit/drag_simulator.h"

#include "uikit/scroll_view.h"

#include <cmath>

using namespace objc;

namespace {

constexpr int kDragSteps = 10;
constexpr int kSettleSteps = 5;
// How much further than the drag itself the content coasts after a flick.
constexpr CGFloat kCoastFraction = 0.25;

struct Axes {
    bool horizontal = false, vertical = false;
};

// Keeps the moving axes within the content range; the others stay where they are.
CGPoint clampAxes(const UIScrollView* view, CGPoint offset, Axes axes)
{
    const CGPoint clamped = view->clampedContentOffset(offset);
    return {axes.horizontal ? clamped.x : offset.x, axes.vertical ? clamped.y : offset.y};
}

// Moves toward the target in equal parts of what remains, so the last step lands on it.
void settle(UIScrollView* view, CGPoint target)
{
    for (int left = kSettleSteps; left > 0; --left) {
        const CGPoint now = view->contentOffset();
        if (now == target)
            return;
        view->setContentOffset({now.x + (target.x - now.x) / left, now.y + (target.y - now.y) / left});
    }
}

// Where step i of n puts the content. Positions are taken along the whole path from its start,
// so the last step lands exactly; when something else moved the content between two steps
// (a delegate re-centring it), the rest of the path is shifted by that move.
class FingerPath {
public:
    FingerPath(CGPoint start, CGPoint movement) : base_(start), movement_(movement), last_(start) {}
    CGPoint step(CGPoint now, int i)
    {
        if (now != last_)
            base_ = {base_.x + now.x - last_.x, base_.y + now.y - last_.y};
        return {base_.x + movement_.x * i / kDragSteps, base_.y + movement_.y * i / kDragSteps};
    }
    void set(UIScrollView* view, CGPoint offset)
    {
        view->setContentOffset(offset);
        last_ = offset;
    }

private:
    CGPoint base_, movement_, last_;
};

CGFloat nearestPage(CGFloat offset, CGFloat page) { return page > 0 ? std::round(offset / page) * page : offset; }

// With a flick the content goes one page on from where the drag started, in its direction.
CGFloat nextPage(CGFloat start, CGFloat movement, CGFloat page)
{
    if (page <= 0)
        return start + movement;
    const CGFloat from = std::round(start / page);
    const CGFloat step = movement > 0 ? 1 : movement < 0 ? -1 : 0;
    return (from + step) * page;
}

} // namespace

void simulateDrag(UIScrollView* scrollView, CGPoint translation, bool decelerate)
{
    if (!scrollView || !scrollView->isScrollEnabled() || scrollView->isDragging())
        return;
    if (!std::isfinite(translation.x) || !std::isfinite(translation.y))
        return;
    // A delegate may drop the last reference to the view during the drag.
    const id keepAlive = scrollView->weak_from_this().lock();
    const Axes axes{scrollView->canScrollHorizontally(), scrollView->canScrollVertically()};
    const CGPoint movement{axes.horizontal ? -translation.x : 0, axes.vertical ? -translation.y : 0};
    const CGPoint start = scrollView->contentOffset();

    scrollView->dragging_ = true;
    scrollView->tellDelegate("scrollViewWillBeginDragging:"_sel);
    FingerPath finger(start, movement);
    for (int i = 1; i <= kDragSteps; ++i) {
        CGPoint next = finger.step(scrollView->contentOffset(), i);
        if (!scrollView->bounces())
            next = clampAxes(scrollView, next, axes);
        finger.set(scrollView, next);
    }
    scrollView->dragging_ = false;
    if (id target = scrollView->delegate();
        target && respondsToSelector(target.get(), "scrollViewDidEndDragging:willDecelerate:"_sel))
        msgSend(target, "scrollViewDidEndDragging:willDecelerate:"_sel, keepAlive, decelerate);

    const CGSize page = scrollView->bounds().size;
    if (!decelerate) {
        CGPoint rest = scrollView->contentOffset();
        if (scrollView->isPagingEnabled())
            rest = {nearestPage(rest.x, page.width), nearestPage(rest.y, page.height)};
        settle(scrollView, clampAxes(scrollView, rest, axes));
        return;
    }

    scrollView->decelerating_ = true;
    scrollView->tellDelegate("scrollViewWillBeginDecelerating:"_sel);
    if (scrollView->isPagingEnabled()) {
        const CGPoint target{axes.horizontal ? nextPage(start.x, movement.x, page.width) : scrollView->contentOffset().x,
                             axes.vertical ? nextPage(start.y, movement.y, page.height) : scrollView->contentOffset().y};
        settle(scrollView, clampAxes(scrollView, target, axes));
    } else {
        for (int i = 0; i < kSettleSteps; ++i) {
            const CGPoint now = scrollView->contentOffset();
            const CGPoint next{now.x + movement.x * kCoastFraction / kSettleSteps,
                               now.y + movement.y * kCoastFraction / kSettleSteps};
            scrollView->setContentOffset(clampAxes(scrollView, next, axes));
        }
    }
    scrollView->decelerating_ = false;
    scrollView->tellDelegate("scrollViewDidEndDecelerating:"_sel);
}

void simulateScrollTo(UIScrollView* scrollView, CGPoint offset)
{
    if (!scrollView || !std::isfinite(offset.x) || !std::isfinite(offset.y))
        return;
    const id keepAlive = scrollView->weak_from_this().lock();
    const CGPoint start = scrollView->contentOffset();
    FingerPath path(start, {offset.x - start.x, offset.y - start.y});
    for (int i = 1; i <= kDragSteps; ++i)
        path.set(scrollView, path.step(scrollView->contentOffset(), i));
}
