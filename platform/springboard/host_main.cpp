// springboard: the simulated lock-screen host. Start-up loads the injected libraries meant for
// the host (substrate_loader.h), builds the lock screen and answers the simulated device's
// commands (command_interpreter.h) from standard input on the main run loop. Its first line of
// output is "ready <pid>"; the end of the input ends the host (status 0). A line longer than
// the host reads (LineReader::kMaxLineLength) is not run: its answer is an error. Started in
// safe mode (host_process.h, after a crash) it loads no injected library and shows a "Safe
// Mode" alert.
//
// Like the phone's host, the program links the device's weather framework, so the libraries
// injected into it find its classes by name and share its one store with the host.
//
// The device root is inherited from the environment (foundation/device_path.h).
#include "foundation/log.h"
#include "foundation/runloop.h"
#include "springboard/command_interpreter.h"
#include "springboard/host_process.h"
#include "springboard/springboard.h"
#include "springboard/substrate_loader.h"
#include "uikit/application.h"
#include "weather/weather_preferences.h"

#ifdef VANTOREL_HAS_RENDERER
#include "uikit/snapshot.h"
#endif

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

using objc::operator""_sel;

int main()
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // The weather store exists before any injected library starts.
    WeatherPreferences::sharedPreferences();
    // After a crash the supervisor starts the host without what may have caused it.
    const char* safe = std::getenv(springboard::kSafeModeVariable);
    const bool safeMode = safe && std::string_view(safe) == "1";
    if (safeMode) {
        NSLog("springboard: safe mode after a crash; no injected library is loaded");
    } else {
        for (const auto& library : springboard::loadSubstrateLibraries(SpringBoard::kBundleIdentifier, "SpringBoard")) {
            if (!library.loaded)
                std::fprintf(stderr, "springboard: %s not loaded: %s\n", library.devicePath.c_str(),
                             library.reason.c_str());
        }
    }
    springboard::installRelaunchHandler();

    SpringBoard springBoard;
    if (safeMode)
        springBoard.addSystemAlert(springboard::kSafeModeAlert);
    SBCommandInterpreter commands(springBoard);
#ifdef VANTOREL_HAS_RENDERER
    commands.setSnapshotter([](const UIView* view, const std::string& path) { return snapshot(view, path); });
#endif

    std::printf("ready %d\n", static_cast<int>(::getpid()));
    std::fflush(stdout);
    springboard::LineReader::start(
        STDIN_FILENO,
        [&commands](const std::string& line) {
            const auto answer = commands.execute(line);
            std::printf("%s\n", answer.line.c_str());
            std::fflush(stdout);
            if (answer.outcome == SBCommandInterpreter::Outcome::Quit)
                springboard::exitHostProcess(0);
            if (answer.outcome == SBCommandInterpreter::Outcome::Relaunch)
                objc::msgSend(UIApplication::sharedApplication(), "_relaunchSpringBoardNow"_sel);
        },
        [] {
            std::printf("error command longer than %zu bytes, not run\n", springboard::LineReader::kMaxLineLength);
            std::fflush(stdout);
        },
        [] { springboard::exitHostProcess(0); });
    NSRunLoop::mainRunLoop()->run();
}
