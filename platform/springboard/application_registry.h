// The applications installed on the simulated device: bundle identifier, display name and what
// their icon looks like. Read from a property list in the device root:
//
//   "/System/Library/CoreServices/SpringBoard.app/Applications.plist"
//   { "Applications" = ( { "CFBundleIdentifier" = "com.apple.MobileSMS";
//                          "CFBundleDisplayName" = "Messages";
//                          "IconColor" = "34C759";      // RRGGBB, optional
//                          "IconGlyph" = "M"; }, ... ) } // optional: the name's first letter
//
// The file is read once per device root (see reload()). A missing or unreadable file gives the built-in list of well-known phone applications. Entries
// without a text identifier are skipped; a missing name is the identifier, a malformed colour
// is grey.
#pragma once

#include "uikit/geometry.h"

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

class UIImage;

namespace springboard {

struct InstalledApplication {
    std::string bundleIdentifier;
    std::string displayName;
    std::string glyph;                   // drawn in white on the icon
    double red = 0.56, green = 0.56, blue = 0.58; // the icon's colour
};

class ApplicationRegistry {
public:
    static constexpr const char* kPath = "/System/Library/CoreServices/SpringBoard.app/Applications.plist";

    // The registry of the current device root; read on first use and again after the device
    // root has changed.
    static ApplicationRegistry& current();
    // Forgets the loaded registry (and its icons): the next use reads the file again.
    static void reload();
    static std::vector<InstalledApplication> builtInApplications();

    explicit ApplicationRegistry(std::vector<InstalledApplication> applications)
        : applications_(std::move(applications)) {}
    // Reads the file at the device path; nullptr when it is missing or not a registry.
    static std::unique_ptr<ApplicationRegistry> readFromFile(const std::string& devicePath);

    const std::vector<InstalledApplication>& applications() const { return applications_; }
    // nullptr when no application has the identifier.
    const InstalledApplication* application(const std::string& bundleIdentifier) const;

    // The application's icon (the generic icon for an identifier that is not installed), drawn
    // on first use and kept per identifier, format and scale.
    std::shared_ptr<UIImage> iconImage(const std::string& bundleIdentifier, long format, CGFloat scale);

private:
    std::vector<InstalledApplication> applications_;
    std::map<std::tuple<std::string, long, CGFloat>, std::shared_ptr<UIImage>> icons_;
};

} // namespace springboard
