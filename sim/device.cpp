#include "sim/device.h"

#include "foundation/device_path.h"
#include "foundation/ns_array.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_string.h"
#include "sim/view_finder.h"
#include "sim/weather_answers.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace sim {

namespace {

constexpr const char* kLaunchDescription = "/Library/LaunchDaemons/com.vantorel.vantoreld.plist";
constexpr const char* kSettingsApp = "/Applications/Preferences.app/Preferences";
constexpr const char* kCityFile = "/Library/Application Support/Vantorel/City.plist";
constexpr double kAnswerTimeout = 20;

bool isAnswer(const std::string& line)
{
    return line == "ok" || line.rfind("error", 0) == 0 || line.rfind("state ", 0) == 0 ||
           line.rfind("views ", 0) == 0 || line.rfind("ok", 0) == 0;
}

std::string slug(const std::string& caption)
{
    std::string out;
    for (const unsigned char c : caption) {
        if (std::isalnum(c))
            out += static_cast<char>(std::tolower(c));
        else if (!out.empty() && out.back() != '-')
            out += '-';
        if (out.size() >= 40)
            break;
    }
    while (!out.empty() && out.back() == '-')
        out.pop_back();
    return out.empty() ? "screen" : out;
}

fs::file_time_type modified(const std::string& path)
{
    std::error_code error;
    const auto time = fs::last_write_time(path, error);
    return error ? fs::file_time_type::min() : time;
}

} // namespace

Device::Device(Options options) : options_(std::move(options)) {}

Device::~Device() { shutDown(); }

void Device::boot()
{
    const fs::path build = fs::absolute(options_.buildDir);
    root_ = options_.rootDir.empty() ? (build / "device-run").string() : fs::absolute(options_.rootDir).string();
    std::error_code error;
    fs::remove_all(root_, error);
    fs::create_directories(fs::path(root_).parent_path(), error);
    fs::copy(build / "device", root_, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (error)
        throw std::runtime_error("cannot copy the device root from " + (build / "device").string() + ": " +
                                 error.message());
    fs::create_directories(fs::path(root_) / "User/Library/Preferences");
    fs::create_directories(fs::path(root_) / "var/log");
    fs::create_directories(options_.screensDir);
    foundation::setDeviceRoot(root_);
    const char* zone = std::getenv("VANTOREL_TIMEZONE");
    ::setenv("TZ", zone && *zone ? zone : "UTC", 1);
    ::tzset();
    // The device's clock starts where the scenario's first clock event puts it, so that the
    // daemon's weather hours and the lock screen's time agree.
    if (options_.startClock >= 0) {
        const double offset = options_.startClock - static_cast<double>(std::time(nullptr));
        ::setenv("VANTOREL_CLOCK_OFFSET", std::to_string(static_cast<long long>(offset)).c_str(), 1);
    }

    if (options_.localWeather) {
        weatherAnswers_ = std::make_unique<WeatherAnswers>();
        ::setenv("VANTOREL_WEATHER_SERVICE", "open-meteo", 1);
        ::setenv("VANTOREL_WEATHER_BASE_URL", weatherAnswers_->baseURL().c_str(), 1);
    }

    // The daemon runs what its launch description names, at its place in the device root.
    const auto description = NSDictionary::dictionaryWithContentsOfFile(kLaunchDescription);
    const auto program = description ? std::dynamic_pointer_cast<NSArray>(description->objectForKey("ProgramArguments"))
                                     : nullptr;
    for (unsigned long i = 0; program && i < program->count(); ++i) {
        if (auto word = std::dynamic_pointer_cast<NSString>(program->objectAtIndex(i)))
            daemonArguments_.push_back(i == 0 ? foundation::hostPath(word->string()) : word->string());
    }
    if (daemonArguments_.empty())
        throw std::runtime_error(std::string("the daemon's launch description ") + kLaunchDescription +
                                 " names no program");
    if (const auto why = startDaemon(); !why.empty())
        throw std::runtime_error(why);
    // The daemon's first update comes at its launch; the host starts once it is written (or
    // after a while without it: the lock screen then shows no weather until the next update).
    const auto cityFile = foundation::hostPath(kCityFile);
    for (int i = 0; i < 200 && !fs::exists(cityFile); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    host_ = Process({(build / "bin/springboard-supervisor").string(), (build / "bin/springboard").string()},
                    Process::Pipes::InputOutput);
    const auto ready = host_.readLine(kAnswerTimeout);
    if (!host_.started() || !ready || ready->rfind("ready", 0) != 0)
        throw std::runtime_error("the lock-screen host did not start");
}

std::string Device::startDaemon()
{
    daemon_ = Process(daemonArguments_, Process::Pipes::None);
    daemonWanted_ = daemon_.started();
    return daemonWanted_ ? std::string() : "cannot start the daemon " + daemonArguments_.front();
}

// The launch description keeps the daemon alive: one that ended by itself starts again.
void Device::keepDaemonAlive()
{
    if (daemonWanted_ && !daemon_.running())
        startDaemon();
}

void Device::shutDown()
{
    if (host_.started()) {
        host_.send("quit");
        if (!host_.wait(3))
            host_.stop();
    }
    daemonWanted_ = false;
    daemon_.stop();
    weatherAnswers_.reset();
}

// Sends one command and reads its answer. A relaunch of the host answers with the new
// process's "ready" line instead: the host's state starts afresh.
std::string Device::host(const std::string& command)
{
    static const bool trace = std::getenv("VANTOREL_DEVICE_TRACE") != nullptr;
    if (trace)
        std::fprintf(stderr, "host < %s\n", command.c_str());
    if (!host_.send(command))
        return "error the lock-screen host is not running";
    for (;;) {
        const auto line = host_.readLine(kAnswerTimeout);
        if (trace)
            std::fprintf(stderr, "host > %s\n", line ? line->substr(0, 160).c_str() : "(nothing)");
        if (!line)
            return "error the lock-screen host did not answer \"" + command + "\"";
        if (line->rfind("ready", 0) == 0) {
            afterRelaunch();
            return "ok";
        }
        if (isAnswer(*line))
            return *line;
    }
}

// A new host process: its items are gone, and it starts on the real clock, so the device's
// clock is set again and the screen laid out at that time.
void Device::afterRelaunch()
{
    pending_.clear();
    if (clockSeconds_ >= 0) {
        host("clock " + std::to_string(static_cast<long long>(clockSeconds_)));
        host("layout");
    }
}

std::string Device::state()
{
    const auto answer = host("state");
    return answer.rfind("state ", 0) == 0 ? answer.substr(6) : answer;
}

std::string Device::snapshotTo(const std::string& path)
{
    const auto answer = host("snapshot " + path);
    return answer == "ok" ? std::string() : answer;
}

std::optional<ScreenPoint> Device::target(const Event& event, std::string& why)
{
    const auto& w = event.words;
    if (w.size() >= 2 && w[0].find_first_not_of("0123456789.") == std::string::npos)
        return ScreenPoint{std::stod(w[0]), std::stod(w[1])};
    const auto point = findView(host("views"), w[0]);
    if (!point)
        why = "no view \"" + w[0] + "\" on the screen now";
    return point;
}

std::string Device::tapTarget(const Event& event, int taps)
{
    std::string why;
    const auto point = target(event, why);
    if (!point)
        return why;
    char command[96];
    std::snprintf(command, sizeof command, "tap %.1f %.1f %d", point->x, point->y, taps);
    return host(command);
}

std::optional<double> clockEpoch(const Event& event, double base)
{
    const char* zone = std::getenv("VANTOREL_TIMEZONE");
    ::setenv("TZ", zone && *zone ? zone : "UTC", 1);
    ::tzset();
    const std::time_t from = base >= 0 ? static_cast<std::time_t>(base) : std::time(nullptr);
    std::tm parts{};
    ::localtime_r(&from, &parts);
    if (event.words.size() == 2) {
        std::sscanf(event.words[0].c_str(), "%d-%d-%d", &parts.tm_year, &parts.tm_mon, &parts.tm_mday);
        parts.tm_year -= 1900;
        parts.tm_mon -= 1;
    }
    std::sscanf(event.words.back().c_str(), "%d:%d", &parts.tm_hour, &parts.tm_min);
    parts.tm_sec = 0;
    parts.tm_isdst = -1;
    const std::time_t when = std::mktime(&parts);
    if (when < 0)
        return std::nullopt;
    return static_cast<double>(when);
}

std::string Device::clock(const Event& event)
{
    const auto when = clockEpoch(event, clockSeconds_);
    if (!when)
        return "that time does not exist in the device's time zone";
    clockSeconds_ = *when;
    return host("clock " + std::to_string(static_cast<long long>(*when)));
}

std::string Device::settings(const std::string& command)
{
    const fs::path program = foundation::hostPath(kSettingsApp);
    if (!fs::exists(program))
        return std::string("error the device has no Settings app at ") + kSettingsApp;
    Process app({program.string(), command}, Process::Pipes::InputOutput);
    std::string answer;
    while (const auto line = app.readLine(kAnswerTimeout))
        answer = *line;
    const auto status = app.wait(kAnswerTimeout);
    if (!status || *status != 0)
        return answer.rfind("error", 0) == 0 ? answer : "error the Settings app failed: " + answer;
    // A restart pressed in the Settings app relaunches the host: its "ready" line follows.
    if (command == "restart") {
        const auto ready = host_.readLine(kAnswerTimeout);
        if (!ready || ready->rfind("ready", 0) != 0)
            return "error the host did not restart";
        afterRelaunch();
    }
    return "ok";
}

std::string Device::weather(const Event& event)
{
    if (!weatherAnswers_)
        return "error weather answers need the device's own weather service (a scenario with \"weather\" events "
               "gets one; the live device always has one)";
    weatherAnswers_->setCurrent(std::stod(event.words[0]), serviceCodeForWord(event.words[1]).value_or(0),
                                clockSeconds_ >= 0 ? static_cast<std::time_t>(clockSeconds_) : std::time(nullptr));
    // The daemon fetches at launch: start it over and wait for the file it writes.
    const auto path = foundation::hostPath(kCityFile);
    const auto before = modified(path);
    daemon_.stop();
    if (const auto why = startDaemon(); !why.empty())
        return "error " + why;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (modified(path) == before) {
        if (std::chrono::steady_clock::now() > deadline)
            return "error the daemon wrote no weather";
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // Let the host take the update notification before the next event.
    return host("wait 0.3");
}

std::string Device::play(const Event& event)
{
    keepDaemonAlive();
    std::string answer = "ok";
    auto run = [&](const std::string& command) { answer = host(command); };
    if (event.delay > 0)
        run("wait " + std::to_string(event.delay));
    if (answer != "ok")
        return answer;

    const std::string& v = event.verb;
    if (v == "post") {
        run("bulletin " + event.text);
        if (answer == "ok")
            pending_.push_front(event.words[0]);
    } else if (v == "card") {
        run("card " + event.text);
        if (answer == "ok")
            pending_.push_front(event.words[0]);
    } else if (v == "alert") {
        run("alert " + event.text);
        if (answer == "ok")
            pending_.push_front("");
    } else if (v == "remove") {
        const std::string& what = event.words[0];
        long index = -1;
        if (what.find_first_not_of("0123456789") == std::string::npos) {
            index = std::stol(what);
        } else {
            for (std::size_t i = 0; i < pending_.size(); ++i)
                if (pending_[i] == what) {
                    index = static_cast<long>(i);
                    break;
                }
            if (index < 0)
                return "no pending notification from " + what;
        }
        run("remove " + std::to_string(index));
        if (answer == "ok" && index < static_cast<long>(pending_.size()))
            pending_.erase(pending_.begin() + index);
    } else if (v == "tap" || v == "double-tap") {
        answer = tapTarget(event, v == "tap" ? 1 : 2);
    } else if (v == "swipe") {
        std::string why;
        const auto point = target(event, why);
        if (!point)
            return why;
        const auto& w = event.words;
        char command[128];
        std::snprintf(command, sizeof command, "swipe %.1f %.1f %s %s", point->x, point->y, w[w.size() - 2].c_str(),
                      w.back().c_str());
        run(command);
    } else if (v == "pull") {
        run("drag 0 " + event.words[0] + " 0");
    } else if (v == "screen") {
        run("screen " + event.words[0]);
    } else if (v == "clear" || v == "teardown") {
        run(v);
        if (answer == "ok")
            pending_.clear();
    } else if (v == "home" || v == "lock" || v == "media" || v == "layout") {
        run(v);
    } else if (v == "respring") {
        run("relaunch");
    } else if (v == "clock") {
        answer = clock(event);
    } else if (v == "wait") {
        run("wait " + event.words[0]);
    } else if (v == "settings") {
        answer = settings(event.text);
    } else if (v == "weather") {
        answer = weather(event);
    } else if (v == "daemon") {
        if (event.words[0] == "stop") {
            daemonWanted_ = false;
            daemon_.stop();
        } else if (!daemon_.running()) {
            if (const auto why = startDaemon(); !why.empty())
                return why;
        }
    } else if (v == "snapshot") {
        char name[16];
        std::snprintf(name, sizeof name, "%02zu-", shots_.size() + 1);
        const std::string path = (fs::absolute(options_.screensDir) / (name + slug(event.text) + ".png")).string();
        run("snapshot " + path);
        if (answer == "ok")
            shots_.push_back({event.text, path});
    }
    if (answer == "ok")
        return {};
    return answer.rfind("error ", 0) == 0 ? answer.substr(6) : answer;
}

} // namespace sim
