// SBApplication: one installed application as the host knows it (see application_registry.h).
#pragma once

#include "foundation/ns_string.h"
#include "objc/objc.h"
#include "springboard/application_registry.h"

#include <memory>

class SBApplication : public objc::Object {
    OBJC_CLASS(SBApplication, objc::Object)
public:
    SBApplication() = default;
    static std::shared_ptr<SBApplication> applicationWithInfo(springboard::InstalledApplication info);

    std::shared_ptr<NSString> bundleIdentifier() const { return NSString::stringWithString(info_.bundleIdentifier); }
    // Older hosts name applications by display identifier; it is the bundle identifier.
    std::shared_ptr<NSString> displayIdentifier() const { return bundleIdentifier(); }
    std::shared_ptr<NSString> displayName() const { return NSString::stringWithString(info_.displayName); }
    const springboard::InstalledApplication& info() const { return info_; }
    std::string description() const override { return "<SBApplication " + info_.bundleIdentifier + ">"; }

private:
    springboard::InstalledApplication info_;
};
