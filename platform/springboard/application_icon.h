// SBApplicationIcon: the icon of an application (or of none), drawn on demand. Also gives the
// toolkit's image class its icon lookup by bundle identifier, the class method
// "_applicationIconImageForBundleIdentifier:format:scale:" ("@@:@qd": identifier NSString or nil,
// format, scale), installed when this library is loaded.
#pragma once

#include "objc/objc.h"
#include "springboard/application.h"
#include "uikit/image.h"

#include <memory>
#include <string>

class SBApplicationIcon : public objc::Object {
    OBJC_CLASS(SBApplicationIcon, objc::Object)
public:
    // Runtime selector "initWithApplication:": an SBApplication, or nil for the generic icon.
    objc::id initWithApplication(const objc::id& application);
    const std::shared_ptr<SBApplication>& application() const { return application_; }
    // Runtime selector "generateIconImage:": the application's icon in the format (2 is the
    // home-screen icon, see icon_drawing.h); the generic icon without an application.
    std::shared_ptr<UIImage> generateIconImage(long format) const;

private:
    std::shared_ptr<SBApplication> application_;
};

namespace springboard {

// The icon of the installed application with the identifier; the generic icon for an empty or
// unknown identifier. Scale 0 means the main screen's. The same picture object is handed out
// again for the same identifier, format and scale.
std::shared_ptr<UIImage> applicationIconImage(const std::string& bundleIdentifier, long format, CGFloat scale);

} // namespace springboard
