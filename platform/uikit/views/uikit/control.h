// Controls: views that send actions to targets when touch or editing events happen.
//
// Ownership: targets are not retained. A pair added with a nil target sends its action up the
// responder chain from the control, to the first responder that answers it.
#pragma once

#include "uikit/view.h"

#include <vector>

enum UIControlEvents : unsigned long {
    UIControlEventTouchDown = 1UL << 0,
    UIControlEventTouchDownRepeat = 1UL << 1,
    UIControlEventTouchDragInside = 1UL << 2,
    UIControlEventTouchDragOutside = 1UL << 3,
    UIControlEventTouchDragEnter = 1UL << 4,
    UIControlEventTouchDragExit = 1UL << 5,
    UIControlEventTouchUpInside = 1UL << 6,
    UIControlEventTouchUpOutside = 1UL << 7,
    UIControlEventTouchCancel = 1UL << 8,
    UIControlEventValueChanged = 1UL << 12,
    UIControlEventEditingDidBegin = 1UL << 16,
    UIControlEventEditingChanged = 1UL << 17,
    UIControlEventEditingDidEnd = 1UL << 18,
    UIControlEventEditingDidEndOnExit = 1UL << 19,
    UIControlEventAllTouchEvents = 0x00000FFFUL,
    UIControlEventAllEditingEvents = 0x000F0000UL,
    UIControlEventAllEvents = 0xFFFFFFFFUL,
};

enum UIControlState : unsigned long {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1UL << 0,
    UIControlStateDisabled = 1UL << 1,
    UIControlStateSelected = 1UL << 2,
};

class UIControl : public UIView {
    OBJC_CLASS(UIControl, UIView)
public:
    // Runtime selector "addTarget:action:forControlEvents:". Adding the same pair again only
    // adds the events to it. A nil action adds nothing.
    void addTargetActionForControlEvents(const objc::id& target, objc::SEL action, unsigned long events);
    // A nil action removes every action of the target for those events.
    void removeTargetActionForControlEvents(const objc::Object* target, objc::SEL action, unsigned long events);
    // Sends the actions registered for any of the events, in the order they were added, with
    // the control as sender ("v@:" or "v@:@").
    void sendActionsForControlEvents(unsigned long events);
    // The number of target–action pairs listening to any of the events.
    std::size_t actionCountForControlEvents(unsigned long events) const;

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    // The combination of UIControlState flags the control is in.
    unsigned long state() const;

protected:
    // Called after enabled, selected or highlighted changed.
    virtual void stateDidChange() {}

private:
    struct TargetAction {
        std::weak_ptr<objc::Object> target;
        bool hasTarget = false;
        objc::SEL action = nullptr;
        unsigned long events = 0;
    };

    std::vector<TargetAction> actions_;
    bool enabled_ = true;
    bool selected_ = false;
    bool highlighted_ = false;
};
