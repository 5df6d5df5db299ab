// The weather daemon: the staged program started as a child on a private session bus in a
// device root of its own, timed until its first line reaches the device log, and its resident
// memory once its first update is saved; and one update cycle in this process, against the
// offline weather service, from the location request to the announcement of the saved file.
#include "common/support_paths.h"
#include "daemon/weather_updater.h"
#include "daemon/weather_updater_helper.h"
#include "foundation/device_path.h"
#include "foundation/log.h"
#include "foundation/notification_center.h"
#include "foundation/runloop.h"
#include "location/device_location.h"
#include "support/child_process.h"
#include "support/private_bus.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// A dbus-daemon of this process's own, made the session bus of this process and of the daemons
// it starts, so that their "VTdidUpdateWeather" reaches no one else. Without dbus-daemon the
// notifications stay within each process, which times the same work less the bus.
void usePrivateBus()
{
    static const testsupport::PrivateSessionBus bus;
    static const bool current = bus.started() ? (bus.makeCurrent(), true) : (::unsetenv("DBUS_SESSION_BUS_ADDRESS"), false);
    (void)current;
}

// A fresh device root as the system is installed in it: the support folder and the log folder.
class DeviceRoot {
public:
    DeviceRoot()
    {
        std::string pattern = (fs::temp_directory_path() / "vantorel-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
        fs::create_directories(root_ / std::string(vantorel::SupportFolder).substr(1));
        fs::create_directories(logFile().parent_path());
    }
    ~DeviceRoot()
    {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    DeviceRoot(const DeviceRoot&) = delete;
    DeviceRoot& operator=(const DeviceRoot&) = delete;

    const fs::path& path() const { return root_; }
    fs::path logFile() const { return root_ / std::string(foundation::kDeviceLogPath).substr(1); }
    std::string log() const
    {
        std::ifstream in(logFile());
        return {std::istreambuf_iterator<char>(in), {}};
    }

private:
    fs::path root_;
};

// The staged daemon, started as a child that ends with this process, in the given device root,
// with the offline weather service and the device's default place and clock.
std::unique_ptr<testsupport::ChildProcess> startDaemon(const DeviceRoot& root)
{
    for (const char* name : {"VANTOREL_WEATHER_SERVICE", "VANTOREL_WEATHER_BASE_URL", "VANTOREL_LOCATION_SERVICES",
                             "VANTOREL_LOCATION", "VANTOREL_CLOCK_OFFSET"})
        ::unsetenv(name);
    const fs::path build = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
    return std::make_unique<testsupport::ChildProcess>(std::vector<std::string>{(build / "device/usr/bin/vantoreld").string()},
                                                       std::vector<std::string>{"VANTOREL_DEVICE_ROOT=" + root.path().string()});
}

// Resident memory of a process in MiB, from the kernel's VmRSS line; nullopt once it is gone.
std::optional<double> residentMiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return std::nullopt;
}

bool waitForLogLine(const DeviceRoot& root, const std::string& line, double seconds)
{
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (root.log().find(line) == std::string::npos) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void DaemonStartUp(benchmark::State& state)
{
    usePrivateBus();
    double firstLogMs = 0, rssMiB = 0;
    for (auto _ : state) {
        const DeviceRoot root;
        // Woken by the first write to the log folder, which is the daemon's first line.
        const int watch = ::inotify_init1(IN_CLOEXEC);
        if (watch < 0 || ::inotify_add_watch(watch, root.logFile().parent_path().c_str(), IN_MODIFY) < 0)
            return state.SkipWithError("cannot watch the device log");
        const auto start = Clock::now();
        const auto daemon = startDaemon(root);
        pollfd p{watch, POLLIN, 0};
        const bool logged = daemon->started() && ::poll(&p, 1, 5000) == 1;
        const auto firstLine = Clock::now();
        ::close(watch);
        if (!logged)
            return state.SkipWithError("the daemon logged nothing within 5 s");
        const double seconds = std::chrono::duration<double>(firstLine - start).count();
        state.SetIterationTime(seconds);
        firstLogMs += seconds * 1000;

        // Settled: its first update written and announced, the run loop idle again.
        if (!waitForLogLine(root, "*** Weather update saved to file", 10))
            return state.SkipWithError("the daemon saved no weather within 10 s");
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const auto rss = residentMiB(daemon->pid());
        if (!rss)
            return state.SkipWithError("the daemon ended");
        rssMiB += *rss;
    }
    state.counters["first_log_ms"] = benchmark::Counter(firstLogMs, benchmark::Counter::kAvgIterations);
    state.counters["rss_mb"] = benchmark::Counter(rssMiB, benchmark::Counter::kAvgIterations);
}
BENCHMARK(DaemonStartUp)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

int announcements = 0;
void countAnnouncement(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) { ++announcements; }

// The daemon's own start-up in this process, with a location fix and geocoding that take no
// time, so that a cycle is the system's work: the fix, the weather invented for it, the city
// file written atomically, "VTdidUpdateWeather" posted and received back. Its wall time holds
// the file's sync to disk; its CPU time is the work.
void UpdateCycle(benchmark::State& state)
{
    usePrivateBus();
    static const DeviceRoot root;
    foundation::setDeviceRoot(root.path().string());
    ::unsetenv("VANTOREL_WEATHER_SERVICE");
    location::setLocationServicesEnabled(true);
    location::setFixLatency(0);
    location::setGeocodeLatency(0);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &announcements, &countAnnouncement,
                                    CFSTR("VTdidUpdateWeather"), nullptr, 0);
    static const auto helper = vantoreld::startDaemon();
    const auto announced = [](int count) {
        return NSRunLoop::mainRunLoop()->runUntil([count] { return announcements >= count; }, 10.0);
    };
    if (!announced(1))
        return state.SkipWithError("the first update was not announced");
    for (auto _ : state) {
        const int next = announcements + 1;
        objc::msgSend(vantoreld::weatherUpdater, "update"_sel);
        if (!announced(next))
            return state.SkipWithError("an update was not announced within 10 s");
    }
}
BENCHMARK(UpdateCycle)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
