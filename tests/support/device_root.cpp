#include "support/device_root.h"

#include "foundation/device_path.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace testsupport {

TemporaryDeviceRoot::TemporaryDeviceRoot() : previous_(foundation::deviceRoot())
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-device-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary device root");
    root_ = pattern;
    foundation::setDeviceRoot(root_);
}

TemporaryDeviceRoot::~TemporaryDeviceRoot()
{
    foundation::setDeviceRoot(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void TemporaryDeviceRoot::makeFolder(const std::string& devicePath) const
{
    std::filesystem::create_directories(host(devicePath));
}

void TemporaryDeviceRoot::writeFile(const std::string& devicePath, const std::string& contents) const
{
    std::filesystem::create_directories(std::filesystem::path(host(devicePath)).parent_path());
    std::ofstream out(host(devicePath), std::ios::binary);
    out << contents;
}

} // namespace testsupport
