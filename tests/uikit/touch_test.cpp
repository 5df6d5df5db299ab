#include "uikit/button.h"
#include "uikit/tap_gesture_recognizer.h"
#include "uikit/text_field.h"
#include "uikit/touch_simulator.h"
#include "uikit/view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using objc::operator""_sel;

namespace {

// A list view stand-in: the target of the icons' recognisers.
class TapTarget : public objc::Object {
    OBJC_CLASS(TapTarget, objc::Object)
public:
    std::vector<std::string> calls;
    objc::id lastSender;
    void single() { calls.push_back("single"); }
    void twice() { calls.push_back("double"); }
    void outer(const objc::id& sender)
    {
        calls.push_back("outer");
        lastSender = sender;
    }
    void pressed(const objc::id& sender)
    {
        calls.push_back("pressed");
        lastSender = sender;
    }
    void edited() { calls.push_back("edited"); }
};

// A view that uses taps nobody else took, like a collection view selecting an item.
class SelectingView : public UIView {
    OBJC_CLASS(SelectingView, UIView)
public:
    std::vector<CGPoint> taps;
    bool accept = true;
    bool handleSimulatedTap(CGPoint point) override
    {
        taps.push_back(point);
        return accept;
    }
};

struct Icon {
    std::shared_ptr<UIView> root;
    std::shared_ptr<UIView> icon;
    std::shared_ptr<UITapGestureRecognizer> one;
    std::shared_ptr<UITapGestureRecognizer> two;
};

Icon iconWithTwoRecognisers(const std::shared_ptr<TapTarget>& target, bool oneWaitsForTwo)
{
    Icon i;
    i.root = UIView::create(CGRectMake(0, 0, 320, 200));
    i.icon = UIView::create(CGRectMake(22, 87, 32, 32));
    i.icon->setUserInteractionEnabled(true);
    i.root->addSubview(i.icon);
    i.one = UITapGestureRecognizer::create(target, "single"_sel);
    i.two = UITapGestureRecognizer::create(target, "twice"_sel);
    i.two->setNumberOfTapsRequired(2);
    if (oneWaitsForTwo)
        i.one->requireGestureRecognizerToFail(i.two);
    i.icon->addGestureRecognizer(i.one);
    i.icon->addGestureRecognizer(i.two);
    return i;
}

} // namespace

OBJC_REGISTER(TapTarget,
    c.method<&TapTarget::single>("single");
    c.method<&TapTarget::twice>("twice");
    c.method<&TapTarget::outer>("outer:");
    c.method<&TapTarget::pressed>("pressed:");
    c.method<&TapTarget::edited>("edited");)
OBJC_REGISTER(SelectingView)

TEST(HitTesting, HiddenTransparentAndNonInteractiveViewsAreSkippedWithTheirSubviews)
{
    auto root = UIView::create(CGRectMake(0, 0, 100, 100));
    auto back = UIView::create(CGRectMake(0, 0, 100, 100));
    auto front = UIView::create(CGRectMake(0, 0, 50, 50));
    auto inner = UIView::create(CGRectMake(10, 10, 20, 20));
    root->addSubview(back);
    root->addSubview(front);
    front->addSubview(inner);

    EXPECT_EQ(root->hitTest(CGPointMake(15, 15)), inner.get());
    EXPECT_EQ(root->hitTest(CGPointMake(5, 5)), front.get());
    EXPECT_EQ(root->hitTest(CGPointMake(75, 75)), back.get());
    EXPECT_EQ(root->hitTest(CGPointMake(150, 15)), nullptr);

    front->setHidden(true);
    EXPECT_EQ(root->hitTest(CGPointMake(15, 15)), back.get());
    front->setHidden(false);
    front->setAlpha(0.005);
    EXPECT_EQ(root->hitTest(CGPointMake(15, 15)), back.get());
    front->setAlpha(0.01); // the threshold itself still takes touches
    EXPECT_EQ(root->hitTest(CGPointMake(15, 15)), inner.get());
    front->setUserInteractionEnabled(false);
    EXPECT_EQ(root->hitTest(CGPointMake(15, 15)), back.get());
    front->setUserInteractionEnabled(true);
    inner->setUserInteractionEnabled(false);
    EXPECT_EQ(root->hitTest(CGPointMake(15, 15)), front.get());

    // Subviews outside their superview's bounds are not reached.
    auto overhang = UIView::create(CGRectMake(40, 40, 30, 30));
    front->addSubview(overhang);
    EXPECT_EQ(root->hitTest(CGPointMake(60, 60)), back.get());
}

TEST(TapRecognisers, DoubleTapFiresOnlyTheTwoTapActionWhenTheOneTapWaitsForIt)
{
    auto target = std::make_shared<TapTarget>();
    Icon i = iconWithTwoRecognisers(target, true);
    EXPECT_EQ(simulateTap(i.root.get(), CGPointMake(30, 100), 2), SimulatedTapResult::Recognized);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"double"}));

    target->calls.clear();
    EXPECT_EQ(simulateTap(i.root.get(), CGPointMake(30, 100), 1), SimulatedTapResult::Recognized);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"single"}));

    // A tap beside the icon reaches no recogniser.
    target->calls.clear();
    EXPECT_EQ(simulateTap(i.root.get(), CGPointMake(200, 10), 2), SimulatedTapResult::Unhandled);
    EXPECT_TRUE(target->calls.empty());
}

TEST(TapRecognisers, WithoutTheFailureRequirementADoubleTapFiresBoth)
{
    auto target = std::make_shared<TapTarget>();
    Icon i = iconWithTwoRecognisers(target, false);
    simulateTap(i.root.get(), CGPointMake(30, 100), 2);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"single", "double"}));

    // A disabled recogniser takes no part; the one-tap waiting for it then fires at once.
    target->calls.clear();
    i.one->requireGestureRecognizerToFail(i.two);
    i.two->setEnabled(false);
    simulateTap(i.root.get(), CGPointMake(30, 100), 1);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"single"}));
}

TEST(TapRecognisers, AncestorsRecognisersTakePartAndTheSenderKnowsWhere)
{
    auto target = std::make_shared<TapTarget>();
    Icon i = iconWithTwoRecognisers(target, false);
    auto outer = UITapGestureRecognizer::create(target, "outer:"_sel);
    i.root->addGestureRecognizer(outer);
    EXPECT_EQ(outer->view(), i.root.get());

    // The icon's one-tap recogniser is nearer and wins the single tap.
    simulateTap(i.root.get(), CGPointMake(30, 100));
    EXPECT_EQ(target->calls, (std::vector<std::string>{"single"}));

    // While it waits for the double tap to fail, the root's free recogniser takes the tap.
    target->calls.clear();
    i.one->requireGestureRecognizerToFail(i.two);
    simulateTap(i.root.get(), CGPointMake(30, 100));
    EXPECT_EQ(target->calls, (std::vector<std::string>{"outer"}));

    // Away from the icon the root's recogniser fires with itself as sender.
    target->calls.clear();
    simulateTap(i.root.get(), CGPointMake(200, 20));
    EXPECT_EQ(target->calls, (std::vector<std::string>{"outer"}));
    EXPECT_EQ(target->lastSender, outer);
    EXPECT_EQ(outer->locationInView(i.root.get()), CGPointMake(200, 20));
    EXPECT_EQ(outer->locationInView(i.icon.get()), CGPointMake(178, -67));
    EXPECT_EQ(outer->state(), UIGestureRecognizerStatePossible);

    // Moving a recogniser to another view takes it from the first.
    i.icon->addGestureRecognizer(outer);
    EXPECT_TRUE(i.root->gestureRecognizers().empty());
    EXPECT_EQ(outer->view(), i.icon.get());
}

TEST(TapRecognisers, TargetsAreNotRetained)
{
    auto target = std::make_shared<TapTarget>();
    Icon i = iconWithTwoRecognisers(target, false);
    std::weak_ptr<TapTarget> weak = target;
    target.reset();
    EXPECT_TRUE(weak.expired());
    // Firing with a vanished target is harmless.
    EXPECT_EQ(simulateTap(i.root.get(), CGPointMake(30, 100), 1), SimulatedTapResult::Recognized);
}

TEST(TouchDelivery, ButtonsGetTouchUpInsideWhenNoRecogniserTookTheTap)
{
    auto target = std::make_shared<TapTarget>();
    auto root = UIView::create(CGRectMake(0, 0, 320, 480));
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(10, 10, 50, 50));
    button->setTitleForState("Hex", UIControlStateNormal);
    button->addTargetActionForControlEvents(target, "pressed:"_sel, UIControlEventTouchUpInside);
    root->addSubview(button);

    // The title label takes no touches: the button itself is hit.
    EXPECT_EQ(simulateTap(root.get(), CGPointMake(35, 35)), SimulatedTapResult::Control);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"pressed"}));
    EXPECT_EQ(target->lastSender, button);
    EXPECT_FALSE(button->isHighlighted());

    // A disabled button swallows the tap.
    target->calls.clear();
    button->setEnabled(false);
    EXPECT_EQ(simulateTap(root.get(), CGPointMake(35, 35)), SimulatedTapResult::Control);
    EXPECT_TRUE(target->calls.empty());
    button->setEnabled(true);

    // A recogniser on the button takes the touch from the control.
    auto recogniser = UITapGestureRecognizer::create(target, "single"_sel);
    button->addGestureRecognizer(recogniser);
    simulateTap(root.get(), CGPointMake(35, 35));
    EXPECT_EQ(target->calls, (std::vector<std::string>{"single"}));
    // ...unless it lets touches through.
    target->calls.clear();
    recogniser->setCancelsTouchesInView(false);
    simulateTap(root.get(), CGPointMake(35, 35));
    EXPECT_EQ(target->calls, (std::vector<std::string>{"single", "pressed"}));
}

TEST(TouchDelivery, LeftoverTapsReachTheTapHandlersNearestFirst)
{
    auto root = UIView::create(CGRectMake(0, 0, 320, 480));
    auto grid = UIView::create<SelectingView>(CGRectMake(0, 100, 300, 300));
    auto cell = UIView::create<SelectingView>(CGRectMake(10, 10, 60, 100));
    root->addSubview(grid);
    grid->addSubview(cell);

    cell->accept = false;
    EXPECT_EQ(simulateTap(root.get(), CGPointMake(20, 130)), SimulatedTapResult::Handled);
    EXPECT_EQ(cell->taps, (std::vector<CGPoint>{CGPointMake(10, 20)}));
    EXPECT_EQ(grid->taps, (std::vector<CGPoint>{CGPointMake(20, 30)}));

    cell->accept = true;
    simulateTap(root.get(), CGPointMake(20, 130));
    EXPECT_EQ(grid->taps.size(), 1u);
    EXPECT_EQ(cell->taps.size(), 2u);

    EXPECT_EQ(simulateTap(nullptr, CGPointMake(1, 1)), SimulatedTapResult::NoView);
    EXPECT_EQ(simulateTap(root.get(), CGPointMake(-1, 1)), SimulatedTapResult::NoView);
    EXPECT_EQ(simulateTap(root.get(), CGPointMake(20, 130), 0), SimulatedTapResult::NoView);
}

TEST(Controls, TargetActionPairsAndTheResponderChain)
{
    auto target = std::make_shared<TapTarget>();
    auto field = UIView::create<UITextField>(CGRectMake(0, 0, 100, 24));
    field->addTargetActionForControlEvents(target, "edited"_sel, UIControlEventEditingChanged);
    field->addTargetActionForControlEvents(target, "edited"_sel, UIControlEventEditingChanged); // no duplicate
    EXPECT_EQ(field->actionCountForControlEvents(UIControlEventEditingChanged), 1u);
    simulateTyping(field.get(), "Abby");
    simulateTyping(field.get(), "!");
    EXPECT_EQ(field->text(), "Abby!");
    EXPECT_EQ(target->calls, (std::vector<std::string>{"edited", "edited"}));

    // A nil target sends the action to the first responder up the chain that answers it.
    auto host = UIView::create<SelectingView>(CGRectZero);
    class_addMethod(SelectingView::class_(), "hostPressed:"_sel,
                    reinterpret_cast<objc::IMP>(+[](objc::Object* self, objc::SEL, const objc::ObjectRef&) {
                        static_cast<SelectingView*>(self)->taps.push_back(CGPointMake(-1, -1));
                    }),
                    "v@:@");
    auto button = UIButton::buttonWithType(UIButtonTypeSystem);
    host->addSubview(button);
    button->addTargetActionForControlEvents(nullptr, "hostPressed:"_sel, UIControlEventTouchUpInside);
    button->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(host->taps.size(), 1u);
    button->removeTargetActionForControlEvents(nullptr, "hostPressed:"_sel, UIControlEventAllEvents);
    button->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(host->taps.size(), 1u);
}
