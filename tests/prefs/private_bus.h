// A session bus of the test's own: a dbus-daemon started for the test, whose address the test
// process and every program it starts use. Darwin notifications are system-wide, so a test that
// posts "RespringVT" on a shared bus could restart another test's host.
#pragma once

#include "support/child_process.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace prefstest {

class PrivateBus {
public:
    PrivateBus() : daemon_({"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=1"})
    {
        if (const char* previous = std::getenv("DBUS_SESSION_BUS_ADDRESS"))
            previous_ = previous;
        address_ = daemon_.readLine(10).value_or("");
        // Without a daemon the address names nothing: delivery then stays inside the process,
        // and nothing reaches a bus that others share.
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.empty() ? "unix:path=/nonexistent/vantorel-test-bus" : address_.c_str(), 1);
    }
    ~PrivateBus()
    {
        if (previous_)
            ::setenv("DBUS_SESSION_BUS_ADDRESS", previous_->c_str(), 1);
        else
            ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool isRunning() const { return !address_.empty(); }

private:
    testsupport::ChildProcess daemon_;
    std::string address_;
    std::optional<std::string> previous_;
};

} // namespace prefstest
