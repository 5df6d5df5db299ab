// Shared set-up of the host's tests: a temporary device root, the virtual clock, and helpers
// that install built plug-ins and libraries at their device paths.
#pragma once

#include "support/device_root.h"

#include <string>

namespace sbtest {

// 2026-01-01 10:00:00 UTC.
inline constexpr double kStartOfTests = 1767261600;

class SpringBoardTest : public testsupport::DeviceRootTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies the built now-playing plug-in to its device path.
    void installNowPlayingPlugin() const;
    // Copies a built test library to "/Library/MobileSubstrate/DynamicLibraries/<name>.dylib",
    // with the filter text beside it (none when empty).
    void installSubstrateLibrary(const std::string& builtFile, const std::string& name,
                                 const std::string& filterPlist) const;
};

// The XML text of a substrate filter naming the bundles (or, with key "Executables", processes).
std::string filterPlist(const std::string& key, const std::string& name);
// A built program in the build directory's bin folder.
std::string builtProgram(const std::string& name);

} // namespace sbtest
