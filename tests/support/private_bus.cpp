#include "support/private_bus.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

namespace {

// The first line written to the descriptor within the timeout, without its newline.
std::string firstLine(int fd, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string text;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            return {};
        char chunk[256];
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n <= 0)
            return {};
        text.append(chunk, static_cast<std::size_t>(n));
    }
    return text.substr(0, text.find('\n'));
}

} // namespace

PrivateSessionBus::PrivateSessionBus()
{
    int address[2];
    if (::pipe2(address, O_CLOEXEC) != 0)
        return;
    const std::string printAddress = "--print-address=" + std::to_string(address[1]);
    const char* argv[] = {"dbus-daemon", "--session", "--nofork", printAddress.c_str(), nullptr};
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        // The bus must not outlive the test, however the test ends.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        ::fcntl(address[1], F_SETFD, 0);
        const int quiet = ::open("/dev/null", O_RDWR);
        ::dup2(quiet, STDIN_FILENO);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO); // it complains about file limits it may not raise
        ::execvp(argv[0], const_cast<char* const*>(argv));
        ::_exit(127);
    }
    ::close(address[1]);
    if (pid_ > 0)
        address_ = firstLine(address[0], std::chrono::seconds(10));
    ::close(address[0]);
    if (address_.empty() && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

PrivateSessionBus::~PrivateSessionBus()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

void PrivateSessionBus::makeCurrent() const
{
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
    ::setenv("VANTOREL_TEST_BUS", address_.c_str(), 1);
}

} // namespace testsupport
