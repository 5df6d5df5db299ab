// NSNotification: a named event with an optional sender, as the host hands hardware-button
// events to the notification list controller. The home button's name is
// "SBMenuButtonPressedNotification"; the lock (sleep) button's is "SBLockButtonPressedNotification".
#pragma once

#include "foundation/ns_string.h"
#include "objc/objc.h"

#include <memory>
#include <string>

inline constexpr const char* kSBMenuButtonPressedNotification = "SBMenuButtonPressedNotification";
inline constexpr const char* kSBLockButtonPressedNotification = "SBLockButtonPressedNotification";

class NSNotification : public objc::Object {
    OBJC_CLASS(NSNotification, objc::Object)
public:
    NSNotification() = default;
    static std::shared_ptr<NSNotification> notificationWithNameObject(const std::string& name, objc::id object);

    std::shared_ptr<NSString> name() const { return name_; }
    objc::id object() const { return object_; }
    std::string description() const override { return "<NSNotification " + name_->string() + ">"; }

private:
    std::shared_ptr<NSString> name_ = NSString::stringWithString("");
    objc::id object_;
};
