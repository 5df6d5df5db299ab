// The supervisor of the host process, as the simulated device's launcher uses it: it starts the
// host program and starts it again each time it ends asking for a relaunch
// (kRelaunchExitStatus).
//
// A host that crashes (ends by SIGSEGV, SIGABRT, SIGBUS, SIGILL, SIGFPE, SIGTRAP or SIGSYS, as
// an injected library or a plug-in can make it) is reported in the system log and started again
// in safe mode (kSafeModeVariable): the lock screen comes back at once, without injected
// libraries, and tells the user so with a "Safe Mode" alert on the lock screen; the next
// relaunch (a respring) starts it normally. A crash in safe mode is reported and ends the
// supervision. A host stopped by any other signal is not restarted. The host shares the supervisor's standard input and output; the input
// a host read but did not handle is handed to the next one (LineReader, kUnreadInputVariable),
// so a command stream continues in the new process where the old one stopped.
#pragma once

#include <string>
#include <vector>

namespace springboard {

struct SupervisorResult {
    int exitStatus = 0;  // the last run's exit status; 128 + signal when it was killed
    int launches = 0;    // how many host processes were started
    int crashes = 0;     // how many of them crashed
};

// Runs `arguments` (program path first) until it ends with anything but a relaunch or a first
// crash, or until
// maxLaunches processes have been started (0: no limit). A program that cannot be started gives
// exit status 127.
SupervisorResult superviseHost(const std::vector<std::string>& arguments, int maxLaunches = 0);

} // namespace springboard
