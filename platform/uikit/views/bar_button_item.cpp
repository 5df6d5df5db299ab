#include "uikit/bar_button_item.h"

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::create(const std::string& title, long style, const objc::id& target,
                                                         objc::SEL action)
{
    auto item = objc::alloc<UIBarButtonItem>();
    return std::static_pointer_cast<UIBarButtonItem>(item->initWithTitleStyleTargetAction(title, style, target, action));
}

objc::id UIBarButtonItem::initWithTitleStyleTargetAction(const std::string& title, long style, const objc::id& target,
                                                         objc::SEL action)
{
    title_ = title;
    style_ = style;
    target_ = target;
    action_ = action;
    return self();
}

bool UIBarButtonItem::press()
{
    const auto target = target_.lock();
    if (!enabled_ || !action_ || !target)
        return false;
    objc::sendAction(target, action_, self());
    return true;
}

OBJC_REGISTER(UIBarButtonItem,
    c.method<&UIBarButtonItem::style>("style");
    c.method<&UIBarButtonItem::setStyle>("setStyle:");
    c.method<&UIBarButtonItem::target>("target");
    c.method<&UIBarButtonItem::setTarget>("setTarget:");
    c.method<&UIBarButtonItem::action>("action");
    c.method<&UIBarButtonItem::setAction>("setAction:");
    c.method<&UIBarButtonItem::isEnabled>("isEnabled");
    c.method<&UIBarButtonItem::setEnabled>("setEnabled:");)
