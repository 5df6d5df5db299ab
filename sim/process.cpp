#include "sim/process.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace sim {

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point deadlineAfter(double seconds)
{
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

} // namespace

Process::Process(const std::vector<std::string>& arguments, Pipes pipes)
{
    if (arguments.empty())
        return;
    int in[2] = {-1, -1}, out[2] = {-1, -1};
    if (pipes == Pipes::InputOutput && (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0))
        return;
    std::vector<char*> argv;
    for (const auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const pid_t parent = ::getpid();
    pid_t pid = ::fork();
    if (pid == 0) {
        // A group of its own, ended with the runner however the runner ends, and with the
        // default signal handling whatever the runner blocked.
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        if (pipes == Pipes::InputOutput) {
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(out[1], STDOUT_FILENO);
        }
        ::execve(argv[0], argv.data(), environ);
        ::_exit(127);
    }
    pid_ = pid > 0 ? pid : -1;
    if (pipes == Pipes::InputOutput) {
        ::close(in[0]);
        ::close(out[1]);
        input_ = in[1];
        output_ = out[0];
    }
}

Process::~Process()
{
    stop(0.5);
    release();
}

Process::Process(Process&& other) noexcept { *this = std::move(other); }

Process& Process::operator=(Process&& other) noexcept
{
    if (this != &other) {
        stop(0.5);
        release();
        pid_ = std::exchange(other.pid_, -1);
        input_ = std::exchange(other.input_, -1);
        output_ = std::exchange(other.output_, -1);
        buffer_ = std::move(other.buffer_);
        status_ = std::exchange(other.status_, std::nullopt);
    }
    return *this;
}

void Process::release()
{
    if (input_ >= 0)
        ::close(input_);
    if (output_ >= 0)
        ::close(output_);
    input_ = output_ = -1;
}

bool Process::running()
{
    if (pid_ <= 0 || status_)
        return false;
    return !wait(0);
}

bool Process::send(const std::string& line)
{
    if (input_ < 0)
        return false;
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(input_, text.data() + done, text.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<std::string> Process::readLine(double timeoutSeconds)
{
    const auto deadline = deadlineAfter(timeoutSeconds);
    for (;;) {
        if (const auto nl = buffer_.find('\n'); nl != std::string::npos) {
            std::string line = buffer_.substr(0, nl);
            buffer_.erase(0, nl + 1);
            return line;
        }
        if (output_ < 0)
            return std::nullopt;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return std::nullopt;
        pollfd p{output_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        char chunk[4096];
        const ssize_t n = ::read(output_, chunk, sizeof chunk);
        if (n <= 0)
            return std::nullopt;
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

std::optional<int> Process::wait(double timeoutSeconds)
{
    if (pid_ <= 0)
        return status_;
    const auto deadline = deadlineAfter(timeoutSeconds);
    while (!status_) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (Clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status_;
}

void Process::stop(double graceSeconds)
{
    if (pid_ <= 0 || status_)
        return;
    if (input_ >= 0) {
        ::close(input_);
        input_ = -1;
    }
    ::kill(-pid_, SIGTERM);
    if (!wait(graceSeconds)) {
        ::kill(-pid_, SIGKILL);
        wait(5);
    }
}

} // namespace sim
