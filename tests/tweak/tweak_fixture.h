// A device root with the system's shipped files (language folders, pictures, the plug-ins the
// build staged) and helpers to write a settings file and install plug-in bundles.
#pragma once

#include "support/device_root.h"

#include <string>

namespace tweaktest {

// A property list whose root dictionary holds the given XML entries.
std::string plist(const std::string& entries);

class ShippedFilesTest : public testsupport::DeviceRootTest {
protected:
    ShippedFilesTest();
    void writeSettings(const std::string& entries) const;
    // Installs the test widget plug-in under Plugins/<name>.bundle (executable, Info.plist, icon).
    void installPlugin(const std::string& name, bool withPrincipalClassName = true) const;
    // A bundle Plugins/<name>.bundle with only an icon (the shipped Calendar icon): a plug-in
    // without code.
    void installPluginIcon(const std::string& name) const;
    // Installs the plug-in as the build staged it. Its target must be among the test program's
    // dependencies: a plug-in built against an older toolkit crashes the process it loads into.
    void installShippedPlugin(const std::string& name) const;
};

// The same, for tests that use the library's core in this process: its settings start empty,
// and its plug-in folder is its own (empty until a test installs a plug-in), whichever
// plug-ins the build staged.
class TweakTest : public ShippedFilesTest {
protected:
    TweakTest();
    ~TweakTest() override;
};

} // namespace tweaktest
