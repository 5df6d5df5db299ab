#include "uikit/view.h"
#include "uikit/view_controller.h"
#include "uikit/view_animation_test_api.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using objc::operator""_sel;

namespace {

std::vector<std::string> events;

class TracingView : public UIView {
    OBJC_CLASS(TracingView, UIView)
public:
    std::string name;
    void willMoveToSuperview(UIView* newSuperview) override
    {
        events.push_back(name + (newSuperview ? ".willMove" : ".willMove(nil)"));
    }
    void didMoveToSuperview() override { events.push_back(name + (superview() ? ".didMove" : ".didMove(nil)")); }
};

std::shared_ptr<TracingView> tracing(const std::string& name)
{
    auto v = UIView::create<TracingView>(CGRectMake(0, 0, 10, 10));
    v->name = name;
    return v;
}

std::vector<UIView*> order(const UIView& parent)
{
    std::vector<UIView*> out;
    for (const auto& v : parent.subviews())
        out.push_back(v.get());
    return out;
}

std::vector<CALayer*> viewLayers(const UIView& parent)
{
    std::vector<CALayer*> out;
    for (const auto& l : parent.layer()->sublayers()) {
        if (l->delegateView())
            out.push_back(l.get());
    }
    return out;
}

} // namespace

OBJC_REGISTER(TracingView)

TEST(ViewHierarchy, InsertAtIndexZeroAndReAddKeepTheDocumentedOrder)
{
    auto parent = UIView::create(CGRectMake(0, 0, 100, 100));
    auto a = UIView::create(CGRectZero), b = UIView::create(CGRectZero), c = UIView::create(CGRectZero);
    parent->addSubview(a);
    parent->addSubview(b);
    parent->insertSubviewAtIndex(c, 0);
    EXPECT_EQ(order(*parent), (std::vector<UIView*>{c.get(), a.get(), b.get()}));

    // Adding a present subview again brings it to the front.
    parent->addSubview(a);
    EXPECT_EQ(order(*parent), (std::vector<UIView*>{c.get(), b.get(), a.get()}));

    // Indexes are clamped, and count the subviews without the moved view.
    parent->insertSubviewAtIndex(c, 99);
    EXPECT_EQ(order(*parent), (std::vector<UIView*>{b.get(), a.get(), c.get()}));
    parent->insertSubviewAtIndex(c, -5);
    EXPECT_EQ(order(*parent), (std::vector<UIView*>{c.get(), b.get(), a.get()}));
    parent->insertSubviewAboveSubview(c, a.get());
    EXPECT_EQ(order(*parent), (std::vector<UIView*>{b.get(), a.get(), c.get()}));
    parent->insertSubviewBelowSubview(c, b.get());
    EXPECT_EQ(order(*parent), (std::vector<UIView*>{c.get(), b.get(), a.get()}));
    parent->bringSubviewToFront(c.get());
    parent->sendSubviewToBack(a.get());
    EXPECT_EQ(order(*parent), (std::vector<UIView*>{a.get(), b.get(), c.get()}));

    // The layers follow the same order, with directly added layers keeping their place.
    EXPECT_EQ(viewLayers(*parent), (std::vector<CALayer*>{a->layer(), b->layer(), c->layer()}));
    auto plain = CALayer::layer();
    parent->layer()->addSublayer(plain);
    parent->insertSubviewAtIndex(c, 0);
    EXPECT_EQ(viewLayers(*parent), (std::vector<CALayer*>{c->layer(), a->layer(), b->layer()}));
    EXPECT_EQ(parent->layer()->sublayers().back(), plain);
    // A view brought to the front goes above every layer, as an added one does.
    parent->addSubview(c);
    EXPECT_EQ(parent->layer()->sublayers().back().get(), c->layer());
    EXPECT_EQ(parent->layer()->sublayers()[2], plain);
}

TEST(ViewHierarchy, MovingAndRemovingSendCallbacksAndLeaveNoTrace)
{
    auto first = UIView::create(CGRectZero), second = UIView::create(CGRectZero);
    auto child = tracing("child");
    events.clear();
    first->addSubview(child);
    first->addSubview(child); // reorder only: no callbacks
    second->addSubview(child);
    EXPECT_TRUE(first->subviews().empty());
    EXPECT_EQ(child->superview(), second.get());
    EXPECT_EQ(child->layer()->superlayer(), second->layer());
    child->removeFromSuperview();
    child->removeFromSuperview(); // nothing left to do
    EXPECT_EQ(events, (std::vector<std::string>{"child.willMove", "child.didMove", "child.willMove", "child.didMove",
                                                "child.willMove(nil)", "child.didMove(nil)"}));
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_EQ(child->layer()->superlayer(), nullptr);
    EXPECT_TRUE(second->subviews().empty());
}

TEST(ViewHierarchy, CyclesAndNilAreRefused)
{
    auto root = UIView::create(CGRectZero), child = UIView::create(CGRectZero);
    root->addSubview(child);
    child->addSubview(root);
    child->addSubview(child);
    root->addSubview(nullptr);
    EXPECT_EQ(root->superview(), nullptr);
    EXPECT_TRUE(child->subviews().empty());
    EXPECT_EQ(root->subviews().size(), 1u);
    EXPECT_TRUE(child->isDescendantOfView(root.get()));
    EXPECT_FALSE(root->isDescendantOfView(child.get()));
}

TEST(ViewHierarchy, SubviewsOutliveTheirSuperviewSafely)
{
    auto child = UIView::create(CGRectZero);
    {
        auto parent = UIView::create(CGRectZero);
        parent->addSubview(child);
    }
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_EQ(child->nextResponder(), nullptr);
    auto other = UIView::create(CGRectZero);
    other->addSubview(child);
    EXPECT_EQ(child->superview(), other.get());
}

TEST(ViewGeometry, FrameCentreAndBoundsAgreeAndTheLayerMirrorsThem)
{
    auto v = UIView::create(CGRectMake(14.1, 2.0999999999999996, 16, 16));
    // A frame reads back exactly as written.
    EXPECT_EQ(v->frame(), CGRectMake(14.1, 2.0999999999999996, 16, 16));
    EXPECT_EQ(v->layer()->frame(), v->frame());
    v->setCenter(CGPointMake(50, 50));
    EXPECT_EQ(v->frame(), CGRectMake(42, 42, 16, 16));
    v->setBounds(CGRectMake(0, 0, 20, 40));
    EXPECT_EQ(v->frame(), CGRectMake(40, 30, 20, 40));
    EXPECT_EQ(v->center(), CGPointMake(50, 50));
    EXPECT_EQ(v->layer()->frame(), CGRectMake(40, 30, 20, 40));
    // A negative size describes the same area.
    v->setFrame(CGRectMake(10, 10, -4, -6));
    EXPECT_EQ(v->frame(), CGRectMake(6, 4, 4, 6));
    // Setting the layer's frame moves the view.
    v->layer()->setFrame(CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(v->frame(), CGRectMake(1, 2, 3, 4));

    // The runtime answers the same.
    EXPECT_EQ(objc::msgSend<CGRect>(v, "frame"_sel), CGRectMake(1, 2, 3, 4));
    objc::msgSend(v, "setFrame:"_sel, CGRectMake(5, 6, 7, 8));
    EXPECT_EQ(objc::msgSend<CGRect>(v, "bounds"_sel), CGRectMake(0, 0, 7, 8));
}

TEST(ViewGeometry, VisualStateIsSharedWithTheLayer)
{
    auto v = UIView::create(CGRectZero);
    v->setAlpha(0.4);
    EXPECT_DOUBLE_EQ(v->alpha(), 0.4);
    EXPECT_FLOAT_EQ(v->layer()->opacity(), 0.4f);
    v->layer()->setOpacity(0);
    EXPECT_EQ(v->alpha(), 0);
    v->setAlpha(7);
    EXPECT_EQ(v->alpha(), 1);
    v->layer()->setHidden(true);
    EXPECT_TRUE(v->isHidden());
    v->setHidden(false);
    EXPECT_FALSE(v->layer()->isHidden());
    v->setBackgroundColor(UIColor::redColor());
    ASSERT_TRUE(v->layer()->backgroundColor());
    EXPECT_EQ(*v->layer()->backgroundColor(), (CGColor{1, 0, 0, 1}));
    v->layer()->setBackgroundColor(nullptr);
    EXPECT_EQ(v->backgroundColor(), nullptr);
}

TEST(ViewGeometry, PointsAndRectsConvertBetweenViewsOfOneTree)
{
    auto root = UIView::create(CGRectMake(0, 0, 320, 568));
    auto panel = UIView::create(CGRectMake(10, 100, 200, 200));
    auto scrolled = UIView::create(CGRectMake(20, 20, 100, 100));
    scrolled->setBounds(CGRectMake(0, 50, 100, 100)); // content scrolled up by 50
    auto inner = UIView::create(CGRectMake(5, 60, 10, 10));
    root->addSubview(panel);
    panel->addSubview(scrolled);
    scrolled->addSubview(inner);

    EXPECT_EQ(inner->convertPointToView(CGPointMake(1, 1), nullptr), CGPointMake(10 + 20 + 5 + 1, 100 + 20 + 10 + 1));
    EXPECT_EQ(inner->convertPointToView(CGPointMake(1, 1), panel.get()), CGPointMake(26, 31));
    EXPECT_EQ(panel->convertPointFromView(CGPointMake(1, 1), inner.get()), CGPointMake(26, 31));
    EXPECT_EQ(root->convertRectFromView(CGRectMake(0, 0, 10, 10), inner.get()), CGRectMake(35, 130, 10, 10));
    EXPECT_EQ(inner->convertRectFromView(CGRectMake(35, 130, 2, 2), nullptr), CGRectMake(0, 0, 2, 2));
}

TEST(ViewState, TagsTintAndResponders)
{
    auto root = UIView::create(CGRectZero), mid = UIView::create(CGRectZero), leaf = UIView::create(CGRectZero);
    root->addSubview(mid);
    mid->addSubview(leaf);
    leaf->setTag(7);
    objc::msgSend(mid, "setTag:"_sel, 3L);
    EXPECT_EQ(root->viewWithTag(7), leaf);
    EXPECT_EQ(root->viewWithTag(3), mid);
    EXPECT_EQ(root->viewWithTag(0), root);
    EXPECT_EQ(root->viewWithTag(42), nullptr);

    // The system tint is a blue; a tint set on an ancestor reaches the leaves.
    auto system = leaf->tintColor();
    EXPECT_EQ(system->red(), 0);
    EXPECT_NEAR(system->green(), 0.478, 1e-9);
    EXPECT_EQ(system->blue(), 1);
    mid->setTintColor(UIColor::redColor());
    EXPECT_TRUE(leaf->tintColor()->isEqual(UIColor::redColor().get()));
    EXPECT_EQ(root->tintColor(), system);

    // A controller's root view answers to the controller, which answers to the superview.
    auto controller = UIViewController::create();
    const auto& view = controller->view();
    leaf->addSubview(view);
    EXPECT_EQ(view->nextResponder(), controller.get());
    EXPECT_EQ(controller->nextResponder(), leaf.get());
    EXPECT_EQ(leaf->nextResponder(), mid.get());
}

TEST(ViewAnimation, BlocksRunAtOnceAndAreCounted)
{
    ViewAnimationTestApi animations;
    const long before = animations.animationCount();
    std::vector<std::string> steps;
    UIView::animateWithDurationAnimations(0.4, [&] { steps.push_back("block"); });
    UIView::animateWithDurationAnimationsCompletion(
        0.25, [&] { steps.push_back("block2"); }, [&](bool finished) { steps.push_back(finished ? "done" : "cut"); });
    EXPECT_EQ(animations.lastAnimationDuration(), 0.25);
    UIView::animateWithDurationDelayOptionsAnimationsCompletion(1.0, 2.0, 0, nullptr, nullptr);
    EXPECT_EQ(steps, (std::vector<std::string>{"block", "block2", "done"}));
    EXPECT_EQ(animations.animationCount(), before + 3);
    EXPECT_EQ(animations.lastAnimationDuration(), 1.0);
}
