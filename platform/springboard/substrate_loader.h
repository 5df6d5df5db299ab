// The substrate loader of the host: at start-up it loads the injected libraries meant for this
// process from "/Library/MobileSubstrate/DynamicLibraries/", in name order. Each "<name>.dylib"
// is loaded (RTLD_NOW | RTLD_GLOBAL, so its library initialiser runs) only when a filter
// property list "<name>.plist" lies beside it and names the process:
//
//   { "Filter" = { "Bundles" = ( "com.apple.springboard" ); }; }
//
// A filter may also list "Executables" (process names, "SpringBoard"). A library without a
// filter, with an unreadable filter, or with a filter for other processes is not loaded.
#pragma once

#include <string>
#include <vector>

namespace springboard {

inline constexpr const char* kSubstrateLibrariesFolder = "/Library/MobileSubstrate/DynamicLibraries/";

struct SubstrateLoadResult {
    std::string devicePath; // of the library
    bool loaded = false;
    std::string reason;     // why it was skipped or failed; empty when loaded
};

// Whether the filter property list at the device path names the bundle or the executable.
bool substrateFilterMatches(const std::string& filterDevicePath, const std::string& bundleIdentifier,
                            const std::string& executableName);

// Looks at every library of the folder and loads those whose filter names the process. One
// result per library, in name order.
std::vector<SubstrateLoadResult> loadSubstrateLibraries(const std::string& bundleIdentifier,
                                                        const std::string& executableName);

} // namespace springboard
