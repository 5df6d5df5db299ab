// Any bytes as the host's command stream: read by the host's line reader from a pipe, in blocks,
// each line run by its command interpreter against a lock screen of its own. Every line gets
// exactly one answer, "ok", "error ...", "state ... ok" or "views ... ok", and a line longer than
// the reader takes is refused, never run. Time moves on the virtual clock.
#include "foundation/runloop.h"
#include "springboard/command_interpreter.h"
#include "springboard/host_process.h"
#include "springboard/springboard.h"
#include "weather/weather_preferences.h"

#include "fuzz_device.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const char* why, const std::string& line)
{
    std::fprintf(stderr, "host_commands_fuzzer: %s: %.200s\n", why, line.c_str());
    std::abort();
}

bool isAnswer(const std::string& answer)
{
    return answer == "ok" || answer.starts_with("error ") ||
           ((answer.starts_with("state ") || answer.starts_with("views ")) && answer.ends_with(" ok"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool started = [] {
        fuzzing::deviceRoot();
        fuzzing::copyStaged(SpringBoard::kNowPlayingPluginPath);
        WeatherPreferences::sharedPreferences();
        return true;
    }();
    (void)started;
    const std::string_view input = fuzzing::bytesOf(data, size);
    const std::size_t lines = static_cast<std::size_t>(std::count(input.begin(), input.end(), '\n')) +
                              (input.empty() || input.back() == '\n' ? 0 : 1);
    if (lines > 200)
        return -1; // a stream that long finds nothing a shorter one does not; keep inputs quick

    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        std::abort();
    std::thread writer([&] {
        for (std::size_t done = 0; done < input.size();) {
            const ssize_t n = ::write(pipe[1], input.data() + done, input.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::close(pipe[1]);
    });

    SpringBoard springBoard;
    SBCommandInterpreter commands(springBoard);
    bool ended = false;
    std::size_t answers = 0;
    springboard::LineReader::start(
        pipe[0],
        [&](const std::string& line) {
            if (line.size() > springboard::LineReader::kMaxLineLength)
                fail("an overlong line was run", line);
            const auto answer = commands.execute(line);
            if (!isAnswer(answer.line))
                fail("a command without an answer", line);
            ++answers;
        },
        [&] { ++answers; },
        [&] { ended = true; });
    while (!ended)
        NSRunLoop::mainRunLoop()->runOnce(1);
    writer.join();
    ::close(pipe[0]);
    if (answers != lines)
        fail("the answers do not match the lines", std::to_string(answers) + " of " + std::to_string(lines));
    return 0;
}
