// Gesture recognisers: target–action pairs attached to a view, fired when their gesture is
// recognised. Touches come from the touch simulator (touch_simulator.h), which decides which
// recognisers recognise; a recogniser keeps its configuration and state.
//
// Ownership: the view owns its recognisers; a recogniser's view, its targets and the
// recognisers it waits for are not retained.
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"

#include <memory>
#include <vector>

class UIView;

enum UIGestureRecognizerState : long {
    UIGestureRecognizerStatePossible = 0,
    UIGestureRecognizerStateBegan = 1,
    UIGestureRecognizerStateChanged = 2,
    UIGestureRecognizerStateEnded = 3,
    UIGestureRecognizerStateCancelled = 4,
    UIGestureRecognizerStateFailed = 5,
    UIGestureRecognizerStateRecognized = UIGestureRecognizerStateEnded,
};

class UIGestureRecognizer : public objc::Object {
    OBJC_CLASS(UIGestureRecognizer, objc::Object)
public:
    // Makes a recogniser of class T through the runtime (alloc, then initWithTarget:action:).
    template <class T = UIGestureRecognizer>
    static std::shared_ptr<T> create(const objc::id& target, objc::SEL action)
    {
        return objc::msgSend<std::shared_ptr<T>>(objc::alloc<T>(), objc::sel_registerName("initWithTarget:action:"),
                                                 target, action);
    }

    // Runtime selector "initWithTarget:action:". A nil target or action adds no pair.
    virtual objc::id initWithTargetAction(const objc::id& target, objc::SEL action);
    void addTargetAction(const objc::id& target, objc::SEL action);
    // A nil target removes the action from every target; a nil action every action of the target.
    void removeTargetAction(const objc::Object* target, objc::SEL action);

    // The view the recogniser is attached to (set by UIView::addGestureRecognizer).
    UIView* view() const { return view_; }
    void setView(UIView* view) { view_ = view; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    UIGestureRecognizerState state() const { return state_; }
    // When on (the default), a recognised gesture keeps its touches from controls and tap
    // handlers below it.
    bool cancelsTouchesInView() const { return cancelsTouchesInView_; }
    void setCancelsTouchesInView(bool on) { cancelsTouchesInView_ = on; }

    // This recogniser recognises only once the other one has failed. A nil recogniser or the
    // recogniser itself is ignored.
    void requireGestureRecognizerToFail(const std::shared_ptr<UIGestureRecognizer>& other);
    // The recognisers still alive that this one waits for.
    std::vector<std::shared_ptr<UIGestureRecognizer>> failureRequirements() const;

    // Where the last recognised touch was, in the coordinates of the view (nil: the root).
    CGPoint locationInView(const UIView* view) const;

    // Used by the touch source: the gesture was recognised at the point (in the coordinates of
    // the root of the view's tree). The state is Recognized while the actions run, then
    // Possible again.
    void recognizeAt(CGPoint pointInRoot);
    std::size_t targetCount() const { return targets_.size(); }

private:
    struct TargetAction {
        std::weak_ptr<objc::Object> target;
        objc::SEL action = nullptr;
    };

    std::vector<TargetAction> targets_;
    std::vector<std::weak_ptr<UIGestureRecognizer>> failureRequirements_;
    UIView* view_ = nullptr;
    bool enabled_ = true;
    bool cancelsTouchesInView_ = true;
    UIGestureRecognizerState state_ = UIGestureRecognizerStatePossible;
    CGPoint location_{};
};
