// A program the simulated device starts: the weather daemon, the host under its supervisor, the
// Settings app. Each runs in its own process group so that ending it ends whatever it started,
// and ends with the runner when the runner ends without shutting the device down.
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace sim {

class Process {
public:
    enum class Pipes { None, InputOutput };

    Process() = default;
    // Starts `arguments` (program path first). With InputOutput its standard input and output are
    // pipes of ours; otherwise it shares ours. `started()` tells whether it could be started.
    Process(const std::vector<std::string>& arguments, Pipes pipes);
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return pid_ > 0; }
    bool running();
    pid_t pid() const { return pid_; }

    // Writes one line to the program's input; false when it no longer reads.
    bool send(const std::string& line);
    // The next line of its output; nullopt after the timeout or at the end of its output.
    std::optional<std::string> readLine(double timeoutSeconds);

    // Ends the process group: SIGTERM, then SIGKILL after the grace period. Idempotent.
    void stop(double graceSeconds = 2);
    // Waits for the process to end by itself; its exit status, or nullopt after the timeout.
    std::optional<int> wait(double timeoutSeconds);

private:
    void release();

    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string buffer_;
    std::optional<int> status_;
};

} // namespace sim
