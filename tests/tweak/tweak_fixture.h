// A device root with the system's shipped files (language folders, pictures) and helpers to
// write a settings file and install a test plug-in bundle.
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
};

// The same, for tests that use the library's core in this process: its settings start empty.
class TweakTest : public ShippedFilesTest {
protected:
    TweakTest();
    ~TweakTest() override;
};

} // namespace tweaktest
