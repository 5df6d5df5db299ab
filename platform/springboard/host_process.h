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

// UIApplication's "_relaunchSpringBoardNow" ends this process with kRelaunchExitStatus.
void installRelaunchHandler();
// Flushes the standard streams and ends the process at once with the status.
[[noreturn]] void exitHostProcess(int status);

// Reads lines from a file descriptor on a thread of its own and hands each, in order, to the
// main run loop, one at a time: the next line is read only once the previous one has been
// handled, so a handler that ends the process leaves the unread lines to the next process.
// Lines longer than kMaxLineLength are cut to that length. At the end of the input onEnd runs
// on the main run loop. The thread lives until the input ends.
class LineReader {
public:
    static constexpr std::size_t kMaxLineLength = 64 * 1024;

    static void start(int fd, std::function<void(const std::string&)> onLine, std::function<void()> onEnd);
};

} // namespace springboard
