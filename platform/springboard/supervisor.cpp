#include "springboard/supervisor.h"

#include "springboard/host_process.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace springboard {

namespace {

// One run of the program; its exit status (128 + signal when killed, 127 when it cannot start).
int runOnce(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return 127;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return 127;
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return 127;
}

} // namespace

SupervisorResult superviseHost(const std::vector<std::string>& arguments, int maxLaunches)
{
    SupervisorResult result;
    if (arguments.empty()) {
        result.exitStatus = 127;
        return result;
    }
    do {
        result.exitStatus = runOnce(arguments);
        ++result.launches;
    } while (result.exitStatus == kRelaunchExitStatus && (maxLaunches <= 0 || result.launches < maxLaunches));
    return result;
}

} // namespace springboard
