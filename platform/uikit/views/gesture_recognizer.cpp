#include "uikit/gesture_recognizer.h"

#include "uikit/view.h"

#include <algorithm>

objc::id UIGestureRecognizer::initWithTargetAction(const objc::id& target, objc::SEL action)
{
    addTargetAction(target, action);
    return self();
}

void UIGestureRecognizer::addTargetAction(const objc::id& target, objc::SEL action)
{
    if (!target || !action)
        return;
    for (const auto& pair : targets_) {
        if (pair.target.lock() == target && pair.action == action)
            return;
    }
    targets_.push_back({target, action});
}

void UIGestureRecognizer::removeTargetAction(const objc::Object* target, objc::SEL action)
{
    std::erase_if(targets_, [&](const TargetAction& pair) {
        const auto held = pair.target.lock();
        return (!target || held.get() == target) && (!action || pair.action == action);
    });
}

void UIGestureRecognizer::requireGestureRecognizerToFail(const std::shared_ptr<UIGestureRecognizer>& other)
{
    if (!other || other.get() == this)
        return;
    failureRequirements_.push_back(other);
}

std::vector<std::shared_ptr<UIGestureRecognizer>> UIGestureRecognizer::failureRequirements() const
{
    std::vector<std::shared_ptr<UIGestureRecognizer>> alive;
    for (const auto& weak : failureRequirements_) {
        if (auto r = weak.lock())
            alive.push_back(std::move(r));
    }
    return alive;
}

CGPoint UIGestureRecognizer::locationInView(const UIView* view) const
{
    if (!view)
        return location_;
    return view->convertPointFromView(location_, nullptr);
}

void UIGestureRecognizer::recognizeAt(CGPoint pointInRoot)
{
    const auto keep = self();
    location_ = pointInRoot;
    state_ = UIGestureRecognizerStateRecognized;
    const auto targets = targets_; // an action may change the targets
    for (const auto& pair : targets) {
        if (auto target = pair.target.lock())
            objc::sendAction(target, pair.action, keep);
    }
    state_ = UIGestureRecognizerStatePossible;
}

OBJC_REGISTER(UIGestureRecognizer,
    c.method<&UIGestureRecognizer::initWithTargetAction>("initWithTarget:action:");
    c.method<&UIGestureRecognizer::addTargetAction>("addTarget:action:");
    c.method<&UIGestureRecognizer::isEnabled>("isEnabled");
    c.method<&UIGestureRecognizer::setEnabled>("setEnabled:");
    c.method<&UIGestureRecognizer::requireGestureRecognizerToFail>("requireGestureRecognizerToFail:");)
