// SBApplicationController: finds installed applications (application_registry.h) by
// identifier. The simulated device is set up as a current host, whose controller answers
// "applicationWithBundleIdentifier:", or as an older host, whose controller answers only
// "applicationWithDisplayIdentifier:". The device setting is the environment variable
// VANTOREL_SPRINGBOARD_GENERATION ("legacy" for the older host; anything else, or unset, for
// the current one); tests choose with setLegacyHost().
//
// "sharedInstance" (a class method) gives the process's one controller; its class is a subclass
// that answers exactly one of the two lookups, so respondsToSelector: tells them apart.
#pragma once

#include "objc/objc.h"
#include "springboard/application.h"

#include <memory>
#include <string>
#include <vector>

class SBApplicationController : public objc::Object {
    OBJC_CLASS(SBApplicationController, objc::Object)
public:
    static std::shared_ptr<SBApplicationController> sharedInstance();
    // Chooses the host generation; the next sharedInstance() is a controller of that kind.
    static void setLegacyHost(bool legacy);
    // Forgets a choice made with setLegacyHost: the device setting decides again.
    static void useDeviceSetting();
    static bool isLegacyHost();

    // The installed application with the identifier, nil when there is none.
    std::shared_ptr<SBApplication> applicationWithIdentifier(const std::string& identifier) const;
    // Every installed application, in registry order.
    std::vector<std::shared_ptr<SBApplication>> allApplications() const;

protected:
    // Both lookups take an NSString; anything else (or nil) finds nothing.
    std::shared_ptr<SBApplication> lookUp(const objc::id& identifier) const;
};

// The current host's controller: "applicationWithBundleIdentifier:".
class SBBundleIdentifierApplicationController : public SBApplicationController {
    OBJC_CLASS(SBBundleIdentifierApplicationController, SBApplicationController)
public:
    objc::id applicationWithBundleIdentifier(const objc::id& bundleIdentifier) const { return lookUp(bundleIdentifier); }
};

// The older host's controller: "applicationWithDisplayIdentifier:".
class SBDisplayIdentifierApplicationController : public SBApplicationController {
    OBJC_CLASS(SBDisplayIdentifierApplicationController, SBApplicationController)
public:
    objc::id applicationWithDisplayIdentifier(const objc::id& displayIdentifier) const { return lookUp(displayIdentifier); }
};
