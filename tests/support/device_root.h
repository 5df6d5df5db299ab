// A temporary device root for one test: created empty, made current, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

class TemporaryDeviceRoot {
public:
    TemporaryDeviceRoot();
    ~TemporaryDeviceRoot();
    TemporaryDeviceRoot(const TemporaryDeviceRoot&) = delete;
    TemporaryDeviceRoot& operator=(const TemporaryDeviceRoot&) = delete;

    const std::string& path() const { return root_; }
    // Host path of a device path inside this root.
    std::string host(const std::string& devicePath) const { return root_ + devicePath; }
    // Writes a file at a device path (folders made as needed).
    void writeFile(const std::string& devicePath, const std::string& contents) const;
    void makeFolder(const std::string& devicePath) const;

private:
    std::string root_;
    std::string previous_;
};

// Fixture base: every test gets its own device root.
class DeviceRootTest : public ::testing::Test {
protected:
    TemporaryDeviceRoot device;
};

} // namespace testsupport
