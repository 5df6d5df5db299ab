// A program started by a test, with pipes on its standard input and output. It inherits the
// test's environment (its device root and its private session bus, see private_bus.h), with
// the given "NAME=value" entries in place of the inherited ones. It is stopped when the test
// process ends, however it ends.
#pragma once

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/prctl.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace testsupport {

class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {})
    {
        int in[2], out[2];
        // Close-on-exec: a program started later must not hold this one's pipes open.
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
            return;
        std::vector<char*> argv;
        for (const auto& a : arguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<std::string> entries = environment;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const auto named = [&](const std::string& mine) {
                return mine.substr(0, mine.find('=')) == entry.substr(0, entry.find('='));
            };
            if (std::none_of(environment.begin(), environment.end(), named))
                entries.push_back(entry);
        }
        std::vector<char*> envp;
        for (auto& e : entries)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        // A program whose test died is stopped too, instead of holding the test's output open.
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent)
                ::_exit(127);
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(out[1], STDOUT_FILENO);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        // A test writing to a program that has ended gets an error, not the end of the test.
        std::signal(SIGPIPE, SIG_IGN);
        ::close(in[0]);
        ::close(out[1]);
        input_ = in[1];
        output_ = out[0];
    }

    ~ChildProcess()
    {
        closeInput();
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0)
            ::close(output_);
    }

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    void send(const std::string& line)
    {
        const std::string text = line + "\n";
        [[maybe_unused]] ssize_t written = ::write(input_, text.data(), text.size());
    }

    // Bytes sent but not yet taken by the program from its standard input.
    int unreadInput() const
    {
        int bytes = 0;
        return input_ >= 0 && ::ioctl(input_, FIONREAD, &bytes) == 0 ? bytes : -1;
    }

    void closeInput()
    {
        if (input_ >= 0)
            ::close(input_);
        input_ = -1;
    }

    // The next line of output, or nullopt after the timeout or at the end of the output.
    std::optional<std::string> readLine(double timeoutSeconds = 10)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
        for (;;) {
            if (const auto nl = buffer_.find('\n'); nl != std::string::npos) {
                std::string line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return std::nullopt;
            pollfd p{output_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
                continue;
            char chunk[4096];
            const ssize_t n = ::read(output_, chunk, sizeof chunk);
            if (n <= 0)
                return std::nullopt;
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

    // Sends a command and reads its answer.
    std::string ask(const std::string& command)
    {
        send(command);
        return readLine().value_or("<no answer>");
    }

    // The exit status, or nullopt when the program has not ended within the timeout.
    std::optional<int> wait(double timeoutSeconds = 10)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
        while (!status_ && std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            const pid_t done = ::waitpid(pid_, &status, WNOHANG);
            if (done == pid_)
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            else
                ::usleep(10000);
        }
        return status_;
    }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string buffer_;
    std::optional<int> status_;
};

} // namespace testsupport
