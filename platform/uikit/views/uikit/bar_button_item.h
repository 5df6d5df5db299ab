// Bar button items: a titled button of a navigation bar, with a target and an action.
//
// Ownership: the target is not retained.
#pragma once

#include "objc/objc.h"

#include <memory>
#include <string>

enum UIBarButtonItemStyle : long {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleBordered = 1,
    UIBarButtonItemStyleDone = 2,
};

class UIBarButtonItem : public objc::Object {
    OBJC_CLASS(UIBarButtonItem, objc::Object)
public:
    // alloc, then initWithTitle:style:target:action:.
    static std::shared_ptr<UIBarButtonItem> create(const std::string& title, long style, const objc::id& target,
                                                   objc::SEL action);
    objc::id initWithTitleStyleTargetAction(const std::string& title, long style, const objc::id& target,
                                            objc::SEL action);

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    long style() const { return style_; }
    void setStyle(long style) { style_ = style; }
    objc::id target() const { return target_.lock(); }
    void setTarget(const objc::id& target) { target_ = target; }
    objc::SEL action() const { return action_; }
    void setAction(objc::SEL action) { action_ = action; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    // What a tap on the item does: sends the action to the target with the item as sender.
    // False (and nothing sent) when the item is disabled, has no action or its target is gone.
    bool press();

private:
    std::string title_;
    long style_ = UIBarButtonItemStylePlain;
    std::weak_ptr<objc::Object> target_;
    objc::SEL action_ = nullptr;
    bool enabled_ = true;
};
