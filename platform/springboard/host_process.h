// The host as a process: reading the simulated device's commands without blocking the main
// run loop, and relaunching.
//
// Relaunching ends the process with kRelaunchExitStatus after flushing its output; the
// supervisor (supervisor.h) then starts it again, and start-up (the substrate loader and the
// lock screen) runs anew.
#pragma once

#include <functional>
#include <string>

namespace springboard {

// The exit status that asks the supervisor for a new host process (EX_TEMPFAIL).
inline constexpr int kRelaunchExitStatus = 75;
// Set to "1" by the supervisor for a host started again after a crash: it loads no injected
// libraries and shows a "Safe Mode" alert on its lock screen.
inline constexpr const char* kSafeModeVariable = "VANTOREL_SAFE_MODE";
inline constexpr const char* kSafeModeAlert = "Safe Mode";

// UIApplication's "_relaunchSpringBoardNow" ends this process with kRelaunchExitStatus.
void installRelaunchHandler();
// Flushes the standard streams and ends the process at once with the status.
[[noreturn]] void exitHostProcess(int status);

// Reads lines from a file descriptor on a thread of its own and hands each, in order, to the
// main run loop, one at a time: the next line is handed over only once the previous one has
// been handled. The input is read in blocks. When the process ends (exitHostProcess), what was
// read but not yet handled goes back to the supervisor through kUnreadInputVariable, and the
// next host takes it before reading on: a handler that relaunches the host leaves the rest of
// the command stream to the next process.
// A line longer than kMaxLineLength is not handed over: onOverlong runs in its place. At the
// end of the input onEnd runs on the main run loop. The thread lives until the input ends.
class LineReader {
public:
    static constexpr std::size_t kMaxLineLength = 64 * 1024;

    static void start(int fd, std::function<void(const std::string&)> onLine, std::function<void()> onOverlong,
                      std::function<void()> onEnd);
};

// Names the descriptor of a memory file, set by the supervisor for each host it starts: it holds
// the input the previous host read but did not handle, and receives this host's when it ends.
inline constexpr const char* kUnreadInputVariable = "VANTOREL_SPRINGBOARD_UNREAD_INPUT_FD";

} // namespace springboard
