// A device root for a fuzz target: a temporary folder made on first use and made this process's
// device root, removed when the process ends normally. Targets write the bytes under test to the
// device path their reader reads, and copy in from the build's staged device root what the
// reader needs beside them (a preference bundle, the language files).
#pragma once

#include "foundation/clock.h"
#include "foundation/device_path.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace fuzzing {

namespace fs = std::filesystem;

inline const std::string& deviceRoot()
{
    static const std::string root = [] {
        std::string pattern = (fs::temp_directory_path() / "vantorel-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        foundation::setDeviceRoot(pattern);
        // Timers and waits move on a virtual clock: a command that waits an hour takes no time.
        foundation::useVirtualClock(1765200000);
        static const std::string removed = pattern;
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(removed, ignored);
        });
        return pattern;
    }();
    return root;
}

inline std::string hostPath(std::string_view devicePath) { return deviceRoot() + std::string(devicePath); }

inline void writeFile(std::string_view devicePath, std::string_view bytes)
{
    const fs::path path = hostPath(devicePath);
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void removeFile(std::string_view devicePath)
{
    std::error_code ignored;
    fs::remove_all(hostPath(devicePath), ignored);
}

// Copies a file or folder of the build's staged device root to the same device path.
inline void copyStaged(std::string_view devicePath)
{
    const fs::path from = std::string(VANTOREL_BUILD_FOLDER) + "/device" + std::string(devicePath);
    const fs::path to = hostPath(devicePath);
    std::error_code ignored;
    fs::create_directories(to.parent_path(), ignored);
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ignored);
}

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace fuzzing
