// Device paths: the system uses the phone's absolute paths ("/Library/...") unchanged; the
// platform maps each one under the current device root on this machine.
#pragma once

#include <string>
#include <string_view>

namespace foundation {

// The device root of this process (inherited from the process that started it), e.g.
// "/tmp/vantorel-device". Empty means the real root: paths map to themselves.
std::string deviceRoot();
// Sets the device root for this process and for the processes it starts.
void setDeviceRoot(std::string_view root);
// The host path of a device path: "/Library/x" -> "<root>/Library/x". A relative path is
// taken as it is.
std::string hostPath(std::string_view devicePath);

} // namespace foundation
