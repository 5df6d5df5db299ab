// The simulated device: a device root booted from the build, the weather daemon started as its
// launch description says, the lock-screen host (with the injected library) under its
// supervisor, and the Settings app; events of a scenario are played on them.
//
// The device's processes inherit this process's environment, so the device settings
// (VANTOREL_TIMEZONE, VANTOREL_LOCALE, VANTOREL_WEATHER_SERVICE, ...) pass through. The caller
// provides the session bus (scripts/device runs everything inside a private one).
#pragma once

#include "sim/process.h"
#include "sim/scenario.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class WeatherAnswers;

// One picture taken by a "snapshot" event.
struct Shot {
    std::string caption;
    std::string path;  // host path of the PNG
};

// The instant a "clock" event names, on the date of `base` (epoch seconds; <0: now) when it names
// no date, in the device's time zone; nullopt for a time that does not exist there.
std::optional<double> clockEpoch(const Event& event, double base);

class Device {
public:
    struct Options {
        std::string buildDir;    // holds bin/ and the staged device/ root
        std::string screensDir;  // where snapshots go
        std::string rootDir;     // the booted device root (default <build>/device-run)
        bool localWeather = false;  // serve the daemon our own weather answers ("weather" events)
        double startClock = -1;     // the device's clock at boot (epoch seconds); <0: this machine's
    };

    explicit Device(Options options);
    ~Device();

    // Copies the staged root to the device root, starts the daemon and the host. Throws
    // std::runtime_error with the reason when the device cannot start.
    void boot();
    // Plays one event; returns an empty string, or what went wrong (the device keeps running).
    std::string play(const Event& event);
    // Ends every process of the device. Idempotent.
    void shutDown();

    const std::vector<Shot>& shots() const { return shots_; }
    // A fresh picture of the screen (for the live device), written to `path`.
    std::string snapshotTo(const std::string& path);
    // The host's one-line state ("items=3 screen=on ...").
    std::string state();
    const std::string& root() const { return root_; }

private:
    std::string host(const std::string& command);
    // The screen point of an event's target: its first two words, or the view named first.
    std::optional<ScreenPoint> target(const Event& event, std::string& why);
    std::string tapTarget(const Event& event, int taps);
    std::string startDaemon();
    std::string settings(const std::string& command);
    std::string weather(const Event& event);
    std::string clock(const Event& event);
    void keepDaemonAlive();
    void afterRelaunch();

    Options options_;
    std::string root_;
    Process host_;
    Process daemon_;
    bool daemonWanted_ = false;
    std::unique_ptr<WeatherAnswers> weatherAnswers_;
    std::vector<std::string> daemonArguments_;
    std::deque<std::string> pending_;  // application of each pending item, newest first
    std::vector<Shot> shots_;
    double clockSeconds_ = -1;  // device time once a "clock" event set it
};

} // namespace sim
