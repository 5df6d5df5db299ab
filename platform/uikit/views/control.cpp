#include "uikit/control.h"

#include <algorithm>

void UIControl::addTargetActionForControlEvents(const objc::id& target, objc::SEL action, unsigned long events)
{
    if (!action || events == 0)
        return;
    for (auto& pair : actions_) {
        if (pair.action == action && pair.hasTarget == bool(target) && pair.target.lock() == target) {
            pair.events |= events;
            return;
        }
    }
    actions_.push_back({target, bool(target), action, events});
}

void UIControl::removeTargetActionForControlEvents(const objc::Object* target, objc::SEL action, unsigned long events)
{
    for (auto& pair : actions_) {
        if (pair.target.lock().get() == target && (!action || pair.action == action))
            pair.events &= ~events;
    }
    std::erase_if(actions_, [](const TargetAction& pair) { return pair.events == 0; });
}

void UIControl::sendActionsForControlEvents(unsigned long events)
{
    const auto keep = selfAs<UIControl>();
    const auto actions = actions_; // an action may add or remove actions
    for (const auto& pair : actions) {
        if (!(pair.events & events))
            continue;
        if (pair.hasTarget) {
            // A target that has gone away is skipped: it was never retained.
            if (auto target = pair.target.lock())
                objc::sendAction(target, pair.action, keep);
            continue;
        }
        for (const UIResponder* r = this; r; r = r->nextResponder()) {
            if (objc::respondsToSelector(r, pair.action)) {
                objc::sendAction(r, pair.action, keep);
                break;
            }
        }
    }
}

std::size_t UIControl::actionCountForControlEvents(unsigned long events) const
{
    return static_cast<std::size_t>(
        std::count_if(actions_.begin(), actions_.end(), [events](const auto& pair) { return pair.events & events; }));
}

void UIControl::setEnabled(bool enabled)
{
    enabled_ = enabled;
    stateDidChange();
}

void UIControl::setSelected(bool selected)
{
    selected_ = selected;
    stateDidChange();
}

void UIControl::setHighlighted(bool highlighted)
{
    highlighted_ = highlighted;
    stateDidChange();
}

unsigned long UIControl::state() const
{
    unsigned long s = UIControlStateNormal;
    if (highlighted_)
        s |= UIControlStateHighlighted;
    if (!enabled_)
        s |= UIControlStateDisabled;
    if (selected_)
        s |= UIControlStateSelected;
    return s;
}

OBJC_REGISTER(UIControl,
    c.method<&UIControl::addTargetActionForControlEvents>("addTarget:action:forControlEvents:");
    c.method<&UIControl::sendActionsForControlEvents>("sendActionsForControlEvents:");
    c.method<&UIControl::isEnabled>("isEnabled");
    c.method<&UIControl::setEnabled>("setEnabled:");
    c.method<&UIControl::isSelected>("isSelected");
    c.method<&UIControl::setSelected>("setSelected:");
    c.method<&UIControl::isHighlighted>("isHighlighted");
    c.method<&UIControl::setHighlighted>("setHighlighted:");)
