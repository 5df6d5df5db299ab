// A device root of a benchmark's own in a temporary folder: the system's shipped support files
// (language files, pictures and, unless left out, the plug-ins) copied from the build's staged
// device, and the library loaded as the host's substrate loader would load it, when asked.
// Removed again when the program ends.
#pragma once

#include "foundation/device_path.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <system_error>

namespace bench {

struct DeviceOptions {
    bool plugins = true;
    bool loadLibrary = true;
};

class Device {
public:
    explicit Device(DeviceOptions options = {})
    {
        namespace fs = std::filesystem;
        const fs::path build = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
        std::string pattern = (fs::temp_directory_path() / "vantorel-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
        foundation::setDeviceRoot(root_.string());
        const fs::path support = "Library/Application Support/Vantorel";
        fs::create_directories(root_ / support);
        fs::copy(build / "device" / support, root_ / support, fs::copy_options::recursive);
        if (!options.plugins)
            fs::remove_all(root_ / support / "Plugins");
        if (options.loadLibrary)
            library_ = dlopen((build / "device/Library/MobileSubstrate/DynamicLibraries/Vantorel.dylib").c_str(),
                              RTLD_NOW | RTLD_GLOBAL);
    }
    ~Device()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // The library loaded (when it was asked for).
    bool ready() const { return library_ != nullptr; }
    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
    void* library_ = nullptr;
};

} // namespace bench
