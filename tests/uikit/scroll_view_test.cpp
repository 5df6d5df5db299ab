#include "uikit/drag_simulator.h"
#include "uikit/scroll_view.h"
#include "uikit/view_animation_test_api.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace objc;

namespace {

// A scroll view delegate that writes down every message it gets, with the offset of that moment.
class ScrollRecorder : public Object {
    OBJC_CLASS(ScrollRecorder, Object)
public:
    void didScroll(const id& view) { note("didScroll", view); }
    void willBeginDragging(const id& view) { note("willBeginDragging", view); }
    void didEndDragging(const id& view, bool decelerate)
    {
        note(decelerate ? "didEndDragging:YES" : "didEndDragging:NO", view);
        endDragOffset = offsetOf(view);
        draggingAtEnd = std::static_pointer_cast<UIScrollView>(view)->isDragging();
    }
    void willBeginDecelerating(const id& view)
    {
        note("willBeginDecelerating", view);
        deceleratingAtStart = std::static_pointer_cast<UIScrollView>(view)->isDecelerating();
    }
    void didEndDecelerating(const id& view) { note("didEndDecelerating", view); }

    // The calls with consecutive didScrolls folded into one entry, for order checks.
    std::vector<std::string> folded() const
    {
        std::vector<std::string> out;
        for (const auto& c : calls)
            if (out.empty() || out.back() != c || c != "didScroll")
                out.push_back(c);
        return out;
    }
    long count(const std::string& name) const { return std::count(calls.begin(), calls.end(), name); }

    std::vector<std::string> calls;
    std::vector<CGPoint> offsets;
    CGPoint endDragOffset{};
    bool draggingAtEnd = true;
    bool deceleratingAtStart = false;

private:
    static CGPoint offsetOf(const id& view) { return std::static_pointer_cast<UIScrollView>(view)->contentOffset(); }
    void note(const std::string& name, const id& view)
    {
        calls.push_back(name);
        offsets.push_back(offsetOf(view));
    }
};

// Keeps its content near the middle like an endless pager: past 600 it jumps back a page.
class Recentring : public Object {
    OBJC_CLASS(Recentring, Object)
public:
    void didScroll(const id& view)
    {
        auto scroll = std::static_pointer_cast<UIScrollView>(view);
        if (scroll->contentOffset().y >= 600) {
            ++jumps;
            scroll->setContentOffset({0, scroll->contentOffset().y - 200});
        }
    }
    int jumps = 0;
};

class Mute : public Object {
    OBJC_CLASS(Mute, Object)
};

} // namespace

OBJC_REGISTER(ScrollRecorder,
    c.method<&ScrollRecorder::didScroll>("scrollViewDidScroll:");
    c.method<&ScrollRecorder::willBeginDragging>("scrollViewWillBeginDragging:");
    c.method<&ScrollRecorder::didEndDragging>("scrollViewDidEndDragging:willDecelerate:");
    c.method<&ScrollRecorder::willBeginDecelerating>("scrollViewWillBeginDecelerating:");
    c.method<&ScrollRecorder::didEndDecelerating>("scrollViewDidEndDecelerating:");)
OBJC_REGISTER(Recentring, c.method<&Recentring::didScroll>("scrollViewDidScroll:");)
OBJC_REGISTER(Mute)

namespace {

struct ScrollFixture : ::testing::Test {
    std::shared_ptr<UIScrollView> scroll = UIView::create<UIScrollView>(CGRectMake(0, 0, 100, 200));
    std::shared_ptr<ScrollRecorder> recorder = std::make_shared<ScrollRecorder>();
    ScrollFixture()
    {
        scroll->setContentSize({100, 1000});
        scroll->setDelegate(recorder);
    }
};

} // namespace

TEST_F(ScrollFixture, ContentOffsetIsTheBoundsOriginAndMovesTheContent)
{
    auto content = UIView::create(CGRectMake(0, 300, 100, 50));
    scroll->addSubview(content);
    scroll->setContentOffset({0, 250});
    EXPECT_EQ(scroll->bounds().origin, (CGPoint{0, 250}));
    EXPECT_EQ(scroll->frame(), CGRectMake(0, 0, 100, 200));
    EXPECT_EQ(content->convertPointToView({0, 0}, scroll.get()), (CGPoint{0, 300}));
    auto root = UIView::create(CGRectMake(0, 0, 100, 200));
    root->addSubview(scroll);
    EXPECT_EQ(content->convertPointToView({0, 0}, root.get()), (CGPoint{0, 50}));
    // Through the runtime, as a host or a hook would ask.
    EXPECT_EQ(msgSend<CGPoint>(scroll, "contentOffset"_sel), (CGPoint{0, 250}));
    msgSend(scroll, "setContentOffset:"_sel, CGPoint{0, 10});
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, 10}));
}

TEST_F(ScrollFixture, SettingTheOffsetTellsTheDelegateOnlyWhenItChanges)
{
    scroll->setContentOffset({0, 40});
    scroll->setContentOffset({0, 40});
    EXPECT_EQ(recorder->calls, std::vector<std::string>{"didScroll"});
    EXPECT_EQ(recorder->offsets.back(), (CGPoint{0, 40}));

    ViewAnimationTestApi animations;
    const long animationsBefore = animations.animationCount();
    scroll->setContentOffsetAnimated({0, 90}, true);
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, 90}));
    EXPECT_EQ(animations.animationCount(), animationsBefore + 1);
    EXPECT_EQ(recorder->count("didScroll"), 2);

    scroll->setContentOffsetAnimated({0, 5}, false);
    EXPECT_EQ(animations.animationCount(), animationsBefore + 1);
    EXPECT_EQ(recorder->count("didScroll"), 3);

    // Changing the bounds origin directly is a scroll too; resizing is not.
    scroll->setBounds(CGRectMake(0, 70, 100, 200));
    EXPECT_EQ(recorder->count("didScroll"), 4);
    scroll->setFrame(CGRectMake(0, 0, 120, 220));
    EXPECT_EQ(recorder->count("didScroll"), 4);

    // Offsets that are no numbers are refused.
    scroll->setContentOffset({0, std::nan("")});
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, 70}));
}

TEST_F(ScrollFixture, DelegatesThatAnswerNothingOrAreGoneAreLeftAlone)
{
    auto mute = std::make_shared<Mute>();
    scroll->setDelegate(mute);
    scroll->setContentOffset({0, 30});
    simulateDrag(scroll.get(), {0, -50}, true);
    EXPECT_EQ(scroll->contentOffset().y, 30 + 50 + 12.5);

    // The delegate is not retained.
    std::weak_ptr<Mute> watch = mute;
    mute.reset();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(scroll->delegate(), nullptr);
    simulateDrag(scroll.get(), {0, 20}, false);
    simulateDrag(nullptr, {0, 20}, false);
    simulateScrollTo(nullptr, {0, 20});
}

TEST_F(ScrollFixture, ADragWithoutDecelerationReportsInOrderAndFollowsTheFinger)
{
    scroll->setContentOffset({0, 300});
    recorder->calls.clear();
    simulateDrag(scroll.get(), {0, -120}, false);
    EXPECT_EQ(recorder->folded(),
              (std::vector<std::string>{"willBeginDragging", "didScroll", "didEndDragging:NO"}));
    EXPECT_EQ(recorder->count("didScroll"), 10);
    EXPECT_EQ(recorder->endDragOffset, (CGPoint{0, 420}));
    EXPECT_FALSE(recorder->draggingAtEnd);
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, 420}));
    EXPECT_FALSE(scroll->isDragging());
}

TEST_F(ScrollFixture, ADragWithDecelerationCoastsFurtherAndEndsDecelerating)
{
    scroll->setContentOffset({0, 300});
    recorder->calls.clear();
    simulateDrag(scroll.get(), {0, -100}, true);
    EXPECT_EQ(recorder->folded(),
              (std::vector<std::string>{"willBeginDragging", "didScroll", "didEndDragging:YES", "willBeginDecelerating",
                                        "didScroll", "didEndDecelerating"}));
    EXPECT_EQ(recorder->endDragOffset, (CGPoint{0, 400}));
    EXPECT_TRUE(recorder->deceleratingAtStart);
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_DOUBLE_EQ(scroll->contentOffset().y, 425);

    // Coasting stops at the end of the content.
    simulateDrag(scroll.get(), {0, -700}, true);
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, 800}));
}

TEST_F(ScrollFixture, PullingDownPastTheTopIsSeenAtTheEndOfTheDragThenSpringsBack)
{
    simulateDrag(scroll.get(), {0, 80}, false);
    EXPECT_EQ(recorder->endDragOffset, (CGPoint{0, -80}));
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, 0}));
    // The spring back is reported as scrolling after the drag ended.
    EXPECT_EQ(recorder->folded().back(), "didScroll");

    recorder->calls.clear();
    simulateDrag(scroll.get(), {0, 80}, true);
    EXPECT_EQ(recorder->endDragOffset, (CGPoint{0, -80}));
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, 0}));
    EXPECT_EQ(recorder->calls.back(), "didEndDecelerating");
}

TEST_F(ScrollFixture, WithoutBouncingTheDragStaysWithinTheContent)
{
    scroll->setBounces(false);
    simulateDrag(scroll.get(), {0, 80}, false);
    EXPECT_EQ(recorder->endDragOffset, (CGPoint{0, 0}));
    EXPECT_EQ(recorder->count("didScroll"), 0);

    simulateDrag(scroll.get(), {0, -5000}, false);
    EXPECT_EQ(recorder->endDragOffset, (CGPoint{0, 800}));

    // Short content does not scroll at all, nor sideways.
    scroll->setContentSize({100, 150});
    scroll->setContentOffset({0, 0});
    simulateDrag(scroll.get(), {-40, -40}, false);
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, 0}));
}

TEST_F(ScrollFixture, ShortContentBouncesOnlyWhenAskedTo)
{
    scroll->setContentSize({100, 50});
    simulateDrag(scroll.get(), {0, 60}, false);
    EXPECT_EQ(recorder->endDragOffset, (CGPoint{0, 0}));
    scroll->setAlwaysBounceVertical(true);
    simulateDrag(scroll.get(), {0, 60}, false);
    EXPECT_EQ(recorder->endDragOffset, (CGPoint{0, -60}));
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, 0}));
}

TEST_F(ScrollFixture, InsetsWidenTheRangeADragSettlesInto)
{
    scroll->setContentInset(UIEdgeInsetsMake(30, 0, 20, 0));
    EXPECT_EQ(scroll->minimumContentOffset(), (CGPoint{0, -30}));
    EXPECT_EQ(scroll->maximumContentOffset(), (CGPoint{0, 820}));
    simulateDrag(scroll.get(), {0, 100}, false);
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, -30}));
}

TEST_F(ScrollFixture, PagingEndsOnAPage)
{
    scroll->setFrame(CGRectMake(0, 0, 100, 100));
    scroll->setContentSize({500, 100});
    scroll->setPagingEnabled(true);
    simulateDrag(scroll.get(), {-30, 0}, false);
    EXPECT_EQ(recorder->endDragOffset, (CGPoint{30, 0}));
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, 0}));
    simulateDrag(scroll.get(), {-70, 0}, false);
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{100, 0}));
    // A flick goes on to the next page in its direction, however short.
    simulateDrag(scroll.get(), {-20, 0}, true);
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{200, 0}));
    simulateDrag(scroll.get(), {20, 0}, true);
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{100, 0}));
    // Never past the last page.
    scroll->setContentOffset({400, 0});
    simulateDrag(scroll.get(), {-60, 0}, true);
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{400, 0}));
}

TEST_F(ScrollFixture, DisabledScrollingIgnoresDrags)
{
    scroll->setScrollEnabled(false);
    simulateDrag(scroll.get(), {0, -100}, true);
    EXPECT_TRUE(recorder->calls.empty());
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, 0}));
}

TEST_F(ScrollFixture, ADelegateThatRecentresDuringADragKeepsItsRecentring)
{
    auto pager = std::make_shared<Recentring>();
    scroll->setDelegate(pager);
    scroll->setContentOffset({0, 400});
    // The finger moves 250 points up: 400 -> 600 jumps back to 400, then 50 more.
    simulateDrag(scroll.get(), {0, -250}, false);
    EXPECT_EQ(pager->jumps, 1);
    EXPECT_DOUBLE_EQ(scroll->contentOffset().y, 450);
}

TEST_F(ScrollFixture, ScriptedScrollsMoveInStepsWithoutDragMessages)
{
    simulateScrollTo(scroll.get(), {0, 333});
    EXPECT_EQ(recorder->calls, std::vector<std::string>(10, "didScroll"));
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, 333}));
    EXPECT_DOUBLE_EQ(recorder->offsets.front().y, 33.3);
    // Not clamped, and allowed while user scrolling is off.
    scroll->setScrollEnabled(false);
    simulateScrollTo(scroll.get(), {0, -40});
    EXPECT_EQ(scroll->contentOffset(), (CGPoint{0, -40}));
}

TEST_F(ScrollFixture, TheScrollViewCanBeItsOwnDelegateThroughTheRuntime)
{
    auto plain = UIView::create<UIScrollView>(CGRectMake(0, 0, 10, 10));
    msgSend(plain, "setDelegate:"_sel, id(plain));
    EXPECT_EQ(msgSend<id>(plain, "delegate"_sel), plain);
    std::weak_ptr<UIScrollView> watch = plain;
    plain.reset();
    EXPECT_TRUE(watch.expired()); // no cycle
}
