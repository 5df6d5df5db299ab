#include "calendar_fixture.h"
#include "qp_lazy_scroll_view.h"

#include "uikit/drag_simulator.h"
#include "uikit/view_animation_test_api.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

using namespace objc;

namespace {

// Writes down the control delegate messages, with the offset of each scroll report.
class LazyRecorder : public Object {
    OBJC_CLASS(LazyRecorder, Object)
public:
    void willBeginDragging(const id&) { calls.push_back("willBeginDragging"); }
    void didEndDragging(const id&) { calls.push_back("didEndDragging"); }
    void didScroll(const id&, CGRect visible, bool selfDriven)
    {
        calls.push_back(selfDriven ? "scroll:animated" : "scroll");
        offsets.push_back(visible.origin.y);
    }
    void pageChanged(const id&, unsigned long page) { calls.push_back("page " + std::to_string(page)); }

    // The calls without plain scroll reports, for order checks.
    std::vector<std::string> events() const
    {
        std::vector<std::string> out;
        for (const auto& c : calls)
            if (c != "scroll")
                out.push_back(c);
        return out;
    }
    long count(const std::string& name) const { return std::count(calls.begin(), calls.end(), name); }

    std::vector<std::string> calls;
    std::vector<CGFloat> offsets;
};

// Pages made on request and kept, with every request written down.
struct Pages {
    std::vector<unsigned long> requests;
    std::map<unsigned long, std::shared_ptr<UIViewController>> controllers;

    QPLazyScrollViewDataSource source()
    {
        return [this](unsigned long index) {
            requests.push_back(index);
            auto& controller = controllers[index];
            if (!controller)
                controller = UIViewController::create();
            return controller;
        };
    }
    std::vector<unsigned long> take() { return std::exchange(requests, {}); }
};

} // namespace

OBJC_REGISTER(LazyRecorder,
    c.method<&LazyRecorder::willBeginDragging>("lazyScrollViewWillBeginDragging:");
    c.method<&LazyRecorder::didEndDragging>("lazyScrollViewDidEndDragging:");
    c.method<&LazyRecorder::didScroll>("lazyScrollViewDidScroll:at:withSelfDrivenAnimation:");
    c.method<&LazyRecorder::pageChanged>("lazyScrollView:currentPageChanged:");)

namespace {

class LazyScrollViewTest : public CalendarTest {
protected:
    // A 320 × 200 view with the data source and the recorder as its control delegate.
    std::shared_ptr<QPLazyScrollView> make(unsigned long direction, bool circular, unsigned long pages)
    {
        auto view = objc::alloc<QPLazyScrollView>();
        view->initWithFrameAndDirectionDirectionCircularScrollPaging(CGRectMake(0, 0, 320, 200), direction, circular,
                                                                     false);
        view->setDataSource(pages_.source());
        view->setControlDelegate(recorder);
        view->setNumberOfPages(pages);
        return view;
    }

    CGRect frameOfPage(unsigned long page) { return pages_.controllers[page]->view()->frame(); }
    bool shows(const QPLazyScrollView& view, unsigned long page)
    {
        const auto& controller = pages_.controllers[page];
        return controller && controller->view()->superview() == &view;
    }

    Pages pages_;
    std::shared_ptr<LazyRecorder> recorder = std::make_shared<LazyRecorder>();
};

} // namespace

TEST_F(LazyScrollViewTest, PageIndicesWrapAroundThePageCount)
{
    const struct {
        unsigned long pages;
        long offset, from;
        unsigned long expected;
    } rows[] = {
        {3, -1, 0, 2}, {3, 1, 2, 0}, {3, -4, 0, 2}, {3, 5, 1, 0}, {3, 0, 1, 1}, {3, -3, 1, 1},
        {1, -7, 0, 0}, {2, 1, 1, 0}, {7, -15, 3, 2},
        {0, 1, 0, QPLazyScrollView::kNoPage}, // no pages: no index, and no endless loop
    };
    for (const auto& row : rows) {
        auto view = make(QPLazyScrollViewDirectionHorizontal, true, row.pages);
        EXPECT_EQ(view->pageIndexByAddingFrom(row.offset, row.from), row.expected)
            << row.offset << " from " << row.from << " of " << row.pages;
        EXPECT_EQ(msgSend<unsigned long>(view, "pageIndexByAdding:from:"_sel, row.offset, row.from), row.expected);
    }
}

TEST_F(LazyScrollViewTest, ThreeVerticalPagesStandAroundTheMiddleAndTurnAtAWholePage)
{
    auto view = objc::alloc<QPLazyScrollView>();
    view->initWithFrameAndDirectionDirectionCircularScrollPaging(CGRectMake(0, 0, 320, 200), 7, true, false);
    EXPECT_EQ(view->direction(), QPLazyScrollViewDirectionVertical) << "any value but 0 is vertical";
    EXPECT_EQ(view->currentPage(), QPLazyScrollView::kNoPage);
    EXPECT_EQ(view->autoresizingMask(), 18u);
    EXPECT_EQ(view->delegate(), view);
    // A scroll before there are pages does nothing.
    view->setControlDelegate(recorder);
    view->setContentOffset({0, 500});
    EXPECT_TRUE(recorder->calls.empty());
    EXPECT_TRUE(view->subviews().empty());

    view->setContentOffset({0, 0});
    view->setDataSource(pages_.source());
    view->setNumberOfPages(3);
    EXPECT_EQ(pages_.take(), (std::vector<unsigned long>{0, 2, 1}));
    EXPECT_EQ(view->contentSize(), CGSizeMake(320, 1000));
    EXPECT_EQ(frameOfPage(2), CGRectMake(0, 200, 320, 200));
    EXPECT_EQ(frameOfPage(0), CGRectMake(0, 400, 320, 200));
    EXPECT_EQ(frameOfPage(1), CGRectMake(0, 600, 320, 200));
    EXPECT_EQ(view->contentOffset().y, 400);
    EXPECT_EQ(recorder->events(), (std::vector<std::string>{"page 0"}));
    // The page in view is found through the responder chain, also from a view inside it.
    EXPECT_EQ(view->visibleViewController(), pages_.controllers[0]);
    auto inner = UIView::create(CGRectMake(0, 0, 10, 10));
    pages_.controllers[1]->view()->addSubview(inner);
    EXPECT_EQ(view->viewControllerFromView(inner), pages_.controllers[1]);
    EXPECT_EQ(view->viewControllerFromView(UIView::create(CGRectZero)), nullptr);

    // Each row starts from the resting offset.
    const struct {
        CGFloat offset;
        unsigned long page;
        std::vector<unsigned long> requests;
    } rows[] = {
        {500, 0, {}}, {599, 0, {}}, {600, 1, {1, 0, 2}}, {201, 1, {}}, {200, 0, {0, 2, 1}},
        {100, 2, {2, 1, 0}}, {700, 0, {0, 2, 1}},
    };
    for (const auto& row : rows) {
        view->setContentOffset({0, 400});
        pages_.take();
        view->setContentOffset({0, row.offset});
        EXPECT_EQ(view->currentPage(), row.page) << row.offset;
        EXPECT_EQ(pages_.take(), row.requests) << row.offset;
        EXPECT_EQ(view->contentOffset().y, row.requests.empty() ? row.offset : 400) << row.offset;
    }
    view->setContentOffset({0, 400});

    // A finger moving up a whole page turns to the next page during the drag.
    recorder->calls.clear();
    pages_.take();
    simulateDrag(view.get(), {0, -200}, false);
    EXPECT_EQ(view->currentPage(), 1u);
    EXPECT_EQ(pages_.take(), (std::vector<unsigned long>{1, 0, 2}));
    EXPECT_EQ(recorder->events(), (std::vector<std::string>{"willBeginDragging", "page 1", "didEndDragging"}));
    EXPECT_EQ(view->contentOffset().y, 400);
    EXPECT_EQ(view->subviews().size(), 3u);
}

TEST_F(LazyScrollViewTest, WithoutCircularScrollingTheEndsStopAtTheMiddle)
{
    auto view = make(QPLazyScrollViewDirectionVertical, false, 3);
    const struct {
        long page;
        CGFloat offset;
        bool stopped;
    } rows[] = {
        {0, 300, true}, {0, 400 - 1e-9, true}, {0, 500, false}, {2, 500, true}, {2, 300, false}, {1, 700, false},
    };
    for (const auto& row : rows) {
        view->setCurrentPage(row.page);
        view->setContentOffset({0, 400});
        recorder->calls.clear();
        pages_.take();
        view->setContentOffset({0, row.offset});
        EXPECT_EQ(view->bounces(), !row.stopped) << row.page << " at " << row.offset;
        EXPECT_EQ(view->contentOffset().y, row.stopped || row.offset == 700 ? 400 : row.offset);
        EXPECT_EQ(recorder->count("scroll") == 0, row.stopped) << "a stop reports nothing";
    }
    // On the first page a drag back stays there; bouncing comes back when the finger lifts.
    view->setCurrentPage(0);
    view->setContentOffset({0, 400});
    simulateDrag(view.get(), {0, 150}, false);
    EXPECT_EQ(view->currentPage(), 0u);
    EXPECT_EQ(view->contentOffset().y, 400);
    EXPECT_TRUE(view->bounces());
}

TEST_F(LazyScrollViewTest, ReloadingAndCountChangesAskOnlyWhenSomethingChanged)
{
    auto view = make(QPLazyScrollViewDirectionHorizontal, true, 3);
    EXPECT_EQ(view->contentSize(), CGSizeMake(1600, 0));
    EXPECT_EQ(view->contentOffset().x, 640);
    EXPECT_EQ(pages_.take(), (std::vector<unsigned long>{0, 2, 1}));

    view->setNumberOfPages(3);
    EXPECT_TRUE(pages_.take().empty());

    view->setAutoPlay(true);
    const auto timer = view->autoPlayTimer();
    ASSERT_TRUE(timer);
    view->reloadData();
    EXPECT_TRUE(pages_.take().empty()) << "page 0 is current already";
    EXPECT_FALSE(timer->isValid());
    ASSERT_TRUE(view->autoPlayTimer());
    EXPECT_TRUE(view->autoPlayTimer()->isValid());
    view->setAutoPlay(false);
    EXPECT_FALSE(view->autoPlayTimer());

    view->setCurrentPage(2);
    pages_.take();
    // No pages: the slots empty and nothing is asked for.
    view->setNumberOfPages(0);
    EXPECT_TRUE(view->subviews().empty());
    EXPECT_EQ(view->currentPage(), QPLazyScrollView::kNoPage);
    EXPECT_TRUE(pages_.take().empty());
}

TEST_F(LazyScrollViewTest, AnimatedJumpsComeFromTheirSideAndAutoPlayTurnsPagesOnTheClock)
{
    auto view = make(QPLazyScrollViewDirectionVertical, true, 3);
    ViewAnimationTestApi animations;
    const struct {
        long from, to, transition;
        bool animated;
        CGFloat firstAnimatedOffset; // 0: no animated report at all
    } jumps[] = {
        {2, 0, QPLazyScrollViewTransitionAuto, true, 200},     // 2 → 0 is backward
        {0, 2, QPLazyScrollViewTransitionAuto, true, 600},
        {1, 2, QPLazyScrollViewTransitionBackward, true, 200},
        {0, 1, QPLazyScrollViewTransitionForward, false, 0},
    };
    for (const auto& jump : jumps) {
        view->setCurrentPage(jump.from);
        recorder->calls.clear();
        recorder->offsets.clear();
        const long animationsBefore = animations.animationCount();
        view->setPageTransitionAnimated(jump.to, jump.transition, jump.animated);
        EXPECT_EQ(view->currentPage(), static_cast<unsigned long>(jump.to));
        EXPECT_FALSE(view->isManualAnimating());
        EXPECT_EQ(view->contentOffset().y, 400);
        if (jump.animated) {
            EXPECT_EQ(animations.animationCount(), animationsBefore + 1);
            EXPECT_EQ(animations.lastAnimationDuration(), 0.4);
            ASSERT_FALSE(recorder->offsets.empty());
            EXPECT_EQ(recorder->offsets.front(), jump.firstAnimatedOffset) << jump.from << " to " << jump.to;
            EXPECT_EQ(recorder->count("scroll"), 0) << "an animated jump reports only as such";
        } else {
            EXPECT_EQ(recorder->count("scroll:animated"), 0);
        }
    }
    view->setCurrentPage(0);
    recorder->offsets.clear();
    view->moveByPagesAnimated(-1, true);
    EXPECT_EQ(view->currentPage(), 2u);
    EXPECT_EQ(recorder->offsets.front(), 200) << "backward";

    // Auto-play: every 3 seconds of the clock one page forward, wrapping to the first.
    view->setCurrentPage(0);
    view->setAutoPlay(true);
    for (unsigned long expected : {1UL, 2UL, 0UL, 1UL}) {
        recorder->offsets.clear();
        foundation::advanceClock(2.5);
        EXPECT_TRUE(recorder->offsets.empty());
        foundation::advanceClock(0.5);
        EXPECT_EQ(view->currentPage(), expected);
        ASSERT_FALSE(recorder->offsets.empty());
        EXPECT_EQ(recorder->offsets.front(), 600) << "toward the forward side";
    }
    // A drag stops the timer; its end starts a new one, due 3 seconds later.
    foundation::advanceClock(1.5);
    const auto before = view->autoPlayTimer();
    simulateDrag(view.get(), {0, -50}, false);
    EXPECT_FALSE(before->isValid());
    foundation::advanceClock(2.5);
    EXPECT_EQ(view->currentPage(), 1u);
    foundation::advanceClock(0.5);
    EXPECT_EQ(view->currentPage(), 2u);
}
