// Preferences: the Settings application of the simulated device (preferences_app.h).
//
//   Preferences [--bundle <name>] [command ...]
//
// With commands as arguments it runs them in order, prints one answer line each and ends
// (status 1 when any answer was an error). Without, it prints "ready <pid>" and then answers the
// commands read from standard input, one per line, until "quit" or the end of the input.
// Commands are those of preferences_commands.h. The bundle is "/Library/PreferenceBundles/
// <name>.bundle" ("Vantorel" by default) under the device root of the environment.
//
// The device's installed applications, by the address schemes they open, come from
// VANTOREL_URL_SCHEMES (comma-separated, e.g. "twitter,tweetbot"). A line longer than
// kMaxCommandLength is not run (its answer is an error), so endless input cannot fill the memory.
#include "preferences/preferences_app.h"
#include "preferences/preferences_commands.h"
#include "uikit/application.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kMaxCommandLength = 64 * 1024;

// The next line of standard input; false at its end. A line beyond the limit is read to its end
// and dropped: `overlong` says so.
bool nextLine(std::string& line, bool& overlong)
{
    line.clear();
    overlong = false;
    int c = EOF;
    while ((c = std::cin.get()) != EOF && c != '\n') {
        if (line.size() < kMaxCommandLength)
            line += static_cast<char>(c);
        else
            overlong = true;
    }
    return c != EOF || !line.empty() || overlong;
}

std::vector<std::string> installedSchemes()
{
    std::vector<std::string> schemes;
    if (const char* list = std::getenv("VANTOREL_URL_SCHEMES")) {
        std::stringstream in(list);
        for (std::string scheme; std::getline(in, scheme, ',');)
            if (!scheme.empty())
                schemes.push_back(scheme);
    }
    return schemes;
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string bundle = "Vantorel";
    std::vector<std::string> commands;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--bundle" && i + 1 < argc)
            bundle = argv[++i];
        else
            commands.push_back(arg);
    }
    UIApplication::sharedApplication()->setInstalledURLSchemes(installedSchemes());

    PreferencesApp app(bundle);
    if (!app.isReady())
        std::fprintf(stderr, "Preferences: %s\n", app.failure().c_str());
    PreferencesCommands interpreter(app);

    if (!commands.empty()) {
        int status = 0;
        for (const auto& command : commands) {
            const std::string answer = interpreter.execute(command);
            std::printf("%s\n", answer.c_str());
            if (answer.rfind("error", 0) == 0)
                status = 1;
            if (interpreter.quitRequested())
                break;
        }
        return status;
    }

    std::printf("ready %d\n", static_cast<int>(::getpid()));
    std::string line;
    for (bool overlong = false; nextLine(line, overlong);) {
        if (overlong) {
            std::printf("error command longer than %zu bytes, not run\n", kMaxCommandLength);
            continue;
        }
        std::printf("%s\n", interpreter.execute(line).c_str());
        if (interpreter.quitRequested())
            break;
    }
    return 0;
}
