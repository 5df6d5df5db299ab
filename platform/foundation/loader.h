// The dynamic loader for device paths: code on the device (bundles, injected libraries,
// host plug-ins) is loaded by its device path.
#pragma once

namespace foundation {

// ::dlopen of the device path's host path; nullptr, silently, when the file is missing or
// cannot be loaded.
void* dlopen(const char* devicePath, int mode);

} // namespace foundation
