// Compiled into every test program: each test process runs on a session bus of its own, and
// the programs it starts inherit it. A test process started by another one for the same test
// (a death test's child) keeps the bus it inherited.
#include "support/private_bus.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

class PrivateBusEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        const char* inherited = std::getenv("VANTOREL_TEST_BUS");
        const char* current = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        if (inherited && current && std::string_view(inherited) == current)
            return;
        bus_ = std::make_unique<testsupport::PrivateSessionBus>();
        // Never the user's own bus: without a private one the tests cannot run as meant.
        ASSERT_TRUE(bus_->started()) << "cannot start a private session bus (is dbus-daemon installed?)";
        bus_->makeCurrent();
    }
    void TearDown() override { bus_.reset(); }

private:
    std::unique_ptr<testsupport::PrivateSessionBus> bus_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new PrivateBusEnvironment);

} // namespace
