#include "foundation/device_path.h"

#include <cstdlib>

namespace foundation {

namespace {
constexpr const char* kRootVariable = "VANTOREL_DEVICE_ROOT";
}

std::string deviceRoot()
{
    const char* root = std::getenv(kRootVariable);
    return root ? root : "";
}

void setDeviceRoot(std::string_view root) { ::setenv(kRootVariable, std::string(root).c_str(), 1); }

std::string hostPath(std::string_view devicePath)
{
    if (devicePath.empty() || devicePath.front() != '/')
        return std::string(devicePath);
    std::string root = deviceRoot();
    while (!root.empty() && root.back() == '/')
        root.pop_back();
    return root + std::string(devicePath);
}

} // namespace foundation
