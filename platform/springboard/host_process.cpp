#include "springboard/host_process.h"

#include "foundation/runloop.h"
#include "uikit/application.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace springboard {

namespace {

constexpr std::size_t kBlockSize = 16 * 1024;

// The command input of the process: read off the descriptor, not yet handed to a handler.
struct Input {
    std::mutex lock;
    std::string unread;
    int carrier = -1; // the supervisor's memory file for unhandled input, or -1
};

// Never destroyed: the reader thread may still use it while the process ends.
Input& input()
{
    static Input* state = new Input;
    return *state;
}

// The descriptor named by kUnreadInputVariable, or -1.
int carrierFromEnvironment()
{
    const char* text = std::getenv(kUnreadInputVariable);
    if (!text)
        return -1;
    int fd = -1;
    const auto [end, error] = std::from_chars(text, text + std::strlen(text), fd);
    if (error != std::errc() || *end != '\0' || fd < 0 || ::fcntl(fd, F_GETFD) < 0)
        return -1;
    return fd;
}

// What the previous host left unhandled comes first; the carrier is then emptied for ours.
void adoptUnreadInput(Input& state)
{
    const int fd = carrierFromEnvironment();
    if (fd < 0)
        return;
    ::fcntl(fd, F_SETFD, FD_CLOEXEC); // nothing this host starts needs it
    std::string carried;
    char block[kBlockSize];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, block, sizeof block, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        carried.append(block, static_cast<std::size_t>(n));
        at += n;
    }
    if (::ftruncate(fd, 0) != 0)
        return;
    std::lock_guard guard(state.lock);
    state.unread = std::move(carried) + state.unread;
    state.carrier = fd;
}

// Gives what was read but not handled back to the supervisor. Keeps the input locked, so the
// reader takes nothing more before the process ends.
void handOverUnreadInput()
{
    Input& state = input();
    state.lock.lock();
    if (state.carrier < 0 || state.unread.empty())
        return;
    const char* data = state.unread.data();
    std::size_t left = state.unread.size();
    for (off_t at = 0; left > 0;) {
        const ssize_t n = ::pwrite(state.carrier, data, left, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        left -= static_cast<std::size_t>(n);
        at += n;
    }
}

enum class Next { Line, Overlong, End };

// The next line of the input, reading blocks as needed. Beyond kMaxLineLength the rest of the
// line is read and dropped, so memory stays bounded whatever the input.
Next nextLine(int fd, std::string& line)
{
    Input& state = input();
    bool overlong = false;
    for (;;) {
        {
            std::lock_guard guard(state.lock);
            if (const auto nl = state.unread.find('\n'); nl != std::string::npos) {
                overlong = overlong || nl > LineReader::kMaxLineLength;
                if (!overlong)
                    line.assign(state.unread, 0, nl);
                state.unread.erase(0, nl + 1);
                return overlong ? Next::Overlong : Next::Line;
            }
            if (state.unread.size() > LineReader::kMaxLineLength) {
                overlong = true;
                state.unread.clear();
            }
        }
        // Wait without the lock, so that the process can end meanwhile; read with it, so that
        // what is read is either handed over at the end or handled.
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, -1) < 0 && errno == EINTR)
            continue;
        std::lock_guard guard(state.lock);
        char block[kBlockSize];
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0) {
            // The last line may end without a newline.
            if (overlong || state.unread.size() > LineReader::kMaxLineLength) {
                state.unread.clear();
                return Next::Overlong;
            }
            if (state.unread.empty())
                return Next::End;
            line = std::move(state.unread);
            state.unread.clear();
            return Next::Line;
        }
        state.unread.append(block, static_cast<std::size_t>(n));
    }
}

} // namespace

void installRelaunchHandler()
{
    UIApplication::sharedApplication()->setRelaunchHandler([] { exitHostProcess(kRelaunchExitStatus); });
}

void exitHostProcess(int status)
{
    handOverUnreadInput();
    std::fflush(stdout);
    std::fflush(stderr);
    // No static destructors: injected libraries and the runtime may still reference each other.
    std::_Exit(status);
}

void LineReader::start(int fd, std::function<void(const std::string&)> onLine, std::function<void()> onOverlong,
                       std::function<void()> onEnd)
{
    adoptUnreadInput(input());
    std::thread([fd, onLine = std::move(onLine), onOverlong = std::move(onOverlong), onEnd = std::move(onEnd)] {
        std::string line;
        for (Next next; (next = nextLine(fd, line)) != Next::End;) {
            if (next == Next::Line && !line.empty() && line.back() == '\r')
                line.pop_back();
            std::promise<void> handled;
            foundation::performOnMainThread([&] {
                if (next == Next::Line)
                    onLine(line);
                else
                    onOverlong();
                handled.set_value();
            });
            handled.get_future().wait();
        }
        foundation::performOnMainThread(onEnd);
    }).detach();
}

} // namespace springboard
