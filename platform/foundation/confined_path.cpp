#include "foundation/confined_path.h"

#include "foundation/device_path.h"

#include <filesystem>

namespace foundation {

std::string normalizedDevicePath(std::string_view devicePath)
{
    if (devicePath.empty())
        return {};
    std::string path = std::filesystem::path(devicePath).lexically_normal().string();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string confinedHostPath(std::string_view devicePath)
{
    const std::string normal = normalizedDevicePath(devicePath);
    return normal.empty() ? std::string() : hostPath(normal);
}

} // namespace foundation
