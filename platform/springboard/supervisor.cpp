#include "springboard/supervisor.h"

#include "springboard/host_process.h"

#include "foundation/log.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <string_view>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace springboard {

namespace {

// A memory file holding the input a host read but did not handle, for the next host (see
// LineReader); -1 when none can be made, and the next host then simply reads on.
int carrierWith(const std::string& unread)
{
    const int fd = ::memfd_create("springboard-unread-input", 0);
    if (fd < 0)
        return -1;
    for (std::size_t done = 0; done < unread.size();) {
        const ssize_t n = ::write(fd, unread.data() + done, unread.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            return -1;
        }
        done += static_cast<std::size_t>(n);
    }
    return fd;
}

std::string contentsOf(int fd)
{
    std::string text;
    char block[16 * 1024];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, block, sizeof block, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return text;
        text.append(block, static_cast<std::size_t>(n));
        at += n;
    }
}

// One run of the program; its exit status (128 + signal when killed, 127 when it cannot start).
// `unread` goes in as the input the previous run left and comes out as what this run left.
int runOnce(const std::vector<std::string>& arguments, std::string& unread, bool safeMode)
{
    std::vector<char*> argv;
    for (const auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const int carrier = carrierWith(unread);
    const std::string prefix = std::string(kUnreadInputVariable) + "=";
    const std::string safePrefix = std::string(kSafeModeVariable) + "=";
    std::vector<std::string> entries;
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).substr(0, prefix.size()) != prefix &&
            std::string_view(*e).substr(0, safePrefix.size()) != safePrefix)
            entries.emplace_back(*e);
    if (carrier >= 0)
        entries.push_back(prefix + std::to_string(carrier));
    if (safeMode)
        entries.push_back(safePrefix + "1");
    std::vector<char*> envp;
    for (auto& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    const bool started = posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) == 0;
    int status = 0;
    bool ended = started;
    while (ended && ::waitpid(pid, &status, 0) < 0)
        ended = errno == EINTR;
    unread = carrier >= 0 ? contentsOf(carrier) : std::string();
    if (carrier >= 0)
        ::close(carrier);
    if (!ended)
        return 127;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return 127;
}

// Signals by which a program ends when its own code fails, as opposed to being stopped.
bool isCrash(int exitStatus)
{
    for (const int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGILL, SIGFPE, SIGTRAP, SIGSYS})
        if (exitStatus == 128 + signal)
            return true;
    return false;
}

} // namespace

SupervisorResult superviseHost(const std::vector<std::string>& arguments, int maxLaunches)
{
    SupervisorResult result;
    if (arguments.empty()) {
        result.exitStatus = 127;
        return result;
    }
    std::string unread;
    bool safeMode = false;
    for (;;) {
        result.exitStatus = runOnce(arguments, unread, safeMode);
        ++result.launches;
        const bool crashed = isCrash(result.exitStatus);
        if (crashed) {
            ++result.crashes;
            const int signal = result.exitStatus - 128;
            const std::string program = arguments.front().substr(arguments.front().rfind('/') + 1);
            NSLog("%s crashed (signal %d, %s)%s", program, signal, strsignal(signal),
                  safeMode ? " in safe mode; it is not started again" : "; starting it again in safe mode");
            if (safeMode)
                break;
        } else if (result.exitStatus != kRelaunchExitStatus) {
            break;
        }
        if (maxLaunches > 0 && result.launches >= maxLaunches)
            break;
        safeMode = crashed; // a relaunch (a respring) leaves safe mode
    }
    return result;
}

} // namespace springboard
