// Device paths mapped to host paths with "." and ".." resolved first, so that a path built
// from a hostile name ("/Library/../../etc") stays inside the device root, as it would stay
// inside the device's own file system.
#pragma once

#include <string>
#include <string_view>

namespace foundation {

// "/a/./b/../c/" -> "/a/c"; ".." at the root stays at the root. A relative path is only
// tidied, as relative paths are not device paths.
std::string normalizedDevicePath(std::string_view devicePath);
// The host path of the normalised device path; empty for an empty path.
std::string confinedHostPath(std::string_view devicePath);

} // namespace foundation
