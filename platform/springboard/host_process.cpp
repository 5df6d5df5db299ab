#include "springboard/host_process.h"

#include "foundation/runloop.h"
#include "uikit/application.h"

#include <cerrno>
#include <cstdio>
#include <future>
#include <thread>
#include <unistd.h>

namespace springboard {

void installRelaunchHandler()
{
    UIApplication::sharedApplication()->setRelaunchHandler([] { exitHostProcess(kRelaunchExitStatus); });
}

void exitHostProcess(int status)
{
    std::fflush(stdout);
    std::fflush(stderr);
    // No static destructors: injected libraries and the runtime may still reference each other.
    std::_Exit(status);
}

namespace {

// Byte by byte, so that nothing beyond the line is taken from a shared input.
bool readLine(int fd, std::string& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return any;
        any = true;
        if (c == '\n')
            return true;
        if (line.size() < LineReader::kMaxLineLength)
            line += c;
    }
}

} // namespace

void LineReader::start(int fd, std::function<void(const std::string&)> onLine, std::function<void()> onEnd)
{
    std::thread([fd, onLine = std::move(onLine), onEnd = std::move(onEnd)] {
        std::string line;
        while (readLine(fd, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            std::promise<void> handled;
            foundation::performOnMainThread([&] {
                onLine(line);
                handled.set_value();
            });
            handled.get_future().wait();
        }
        foundation::performOnMainThread(onEnd);
    }).detach();
}

} // namespace springboard
