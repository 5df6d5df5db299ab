#include "springboard/sb_notification.h"

std::shared_ptr<NSNotification> NSNotification::notificationWithNameObject(const std::string& name, objc::id object)
{
    auto notification = std::make_shared<NSNotification>();
    notification->name_ = NSString::stringWithString(name);
    notification->object_ = std::move(object);
    return notification;
}

OBJC_REGISTER(NSNotification,
    c.method<&NSNotification::name>("name");
    c.method<&NSNotification::object>("object");)
