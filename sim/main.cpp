// vantorel-device: the simulated device. Boots a device root from the build, starts the weather
// daemon and the lock-screen host with the injected library, plays a scenario (sim/scenario.h)
// and writes a PNG per snapshot and one contact sheet of them all; with --live it then serves
// the running device to a browser (sim/live_server.h).
//
//   vantorel-device [--build DIR] [--screens DIR] [--root DIR] [--live [PORT]] [SCENARIO]
//
// --root names the folder the device root is booted into (default <build>/device-run; it is
// replaced). --live without a port takes a free one.
//
// Exit status: 0 when the scenario played to its end, 1 when an event failed (the device is shut
// down cleanly), 2 for a bad command line or scenario.
#include "sim/contact_sheet.h"
#include "sim/device.h"
#include "sim/live_server.h"
#include "sim/scenario.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: vantorel-device [--build DIR] [--screens DIR] [--root DIR] [--live [PORT]] [SCENARIO]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string build = "build", screens, root, scenarioPath;
    bool live = false;
    int port = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--build" && i + 1 < argc)
            build = argv[++i];
        else if (arg == "--screens" && i + 1 < argc)
            screens = argv[++i];
        else if (arg == "--root" && i + 1 < argc)
            root = argv[++i];
        else if (arg == "--live") {
            live = true;
            if (i + 1 < argc && std::string(argv[i + 1]).find_first_not_of("0123456789") == std::string::npos) {
                port = std::atoi(argv[++i]);
                if (port < 1 || port > 65535)
                    return usage();
            }
        } else if (!arg.empty() && arg[0] != '-' && scenarioPath.empty())
            scenarioPath = arg;
        else
            return usage();
    }
    if (live)
        sim::blockStopSignals();
    if (screens.empty())
        screens = (std::filesystem::path(build) / "screens").string();

    // A device process that ends early must not end the runner with it.
    std::signal(SIGPIPE, SIG_IGN);

    std::vector<sim::Event> events;
    try {
        if (!scenarioPath.empty())
            events = sim::parseScenario(scenarioPath);
    } catch (const sim::ScenarioError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    }
    bool localWeather = live;
    double startClock = -1;
    for (const auto& event : events) {
        localWeather = localWeather || event.verb == "weather";
        if (event.verb == "clock" && startClock < 0)
            startClock = sim::clockEpoch(event, -1).value_or(-1);
    }

    sim::Device device({build, screens, root, localWeather, startClock});
    try {
        device.boot();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "the device did not start: %s\n", error.what());
        return 1;
    }
    int status = 0;
    for (const auto& event : events) {
        std::printf("%s:%d: %s %s\n", scenarioPath.c_str(), event.line, event.verb.c_str(), event.text.c_str());
        std::fflush(stdout);
        if (const auto why = device.play(event); !why.empty()) {
            std::fprintf(stderr, "%s:%d: %s\n", scenarioPath.c_str(), event.line, why.c_str());
            status = 1;
            break;
        }
        // Each picture with what the host says of its state then, for whoever checks the run.
        if (event.verb == "snapshot")
            std::printf("  %s\n  state %s\n", device.shots().back().path.c_str(), device.state().c_str());
    }
    if (status == 0 && !device.shots().empty()) {
        const std::string sheet = (std::filesystem::absolute(screens) / "contact-sheet.png").string();
        if (sim::writeContactSheet(device.shots(), sheet)) {
            std::printf("%zu screens in %s\ncontact sheet: %s\n", device.shots().size(),
                        std::filesystem::absolute(screens).c_str(), sheet.c_str());
        }
    }
    if (status == 0 && live && !sim::serveLiveDevice(device, port, screens)) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1:%d\n", port);
        status = 1;
    }
    device.shutDown();
    return status;
}
