// A session bus of the test's own. Darwin notifications are system-wide on the session bus, so
// two tests on one bus see each other's "RespringVT" or "VTdidUpdateWeather"; each test process
// therefore gets a private bus (private_bus_environment.cpp, compiled into every test program),
// and every program it starts inherits the bus's address. The bus ends with the test process
// (also when that process is killed).
#pragma once

#include <string>
#include <sys/types.h>

namespace testsupport {

class PrivateSessionBus {
public:
    // Starts a dbus-daemon for this process; started() is false when it cannot be started.
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool started() const { return !address_.empty(); }
    const std::string& address() const { return address_; }

    // Makes this bus the session bus of this process and of the processes it starts. Call it
    // before anything in the process connects to a bus.
    void makeCurrent() const;

private:
    pid_t pid_ = -1;
    std::string address_;
};

} // namespace testsupport
