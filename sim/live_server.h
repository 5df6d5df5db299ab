// The live device: the running simulated device served to a browser on 127.0.0.1. The page
// shows the screen at twice its size and sends what the user does as scenario events (a click
// is a tap, a double click a double tap, a drag a pull; buttons and small forms for the rest).
// Every request is checked like a scenario line; a bad one gets 400 with the reason.
#pragma once

#include "sim/device.h"

#include <string>

namespace sim {

// Call first thing, before any thread starts, when the device will be served: the stop signals
// then reach only the serving's own waiter.
void blockStopSignals();
// Serves until the process is asked to stop (SIGINT, SIGTERM). Prints the address once it
// listens. Returns false when the port cannot be had.
bool serveLiveDevice(Device& device, int port, const std::string& screensDir);

} // namespace sim
