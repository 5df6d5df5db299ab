#include "clock_fixture.h"

#include "foundation/notification_center.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

// Names unique to this test process: tests of other processes share the bus.
std::string uniqueName(const std::string& label)
{
    static int counter = 0;
    return "test." + std::to_string(getpid()) + "." + std::to_string(++counter) + "." + label;
}

struct Delivery {
    CFNotificationCenterRef center;
    void* observer;
    std::string name;
    const void* object;
    CFDictionaryRef userInfo;
    std::thread::id thread;
};

std::vector<Delivery> deliveries;

void record(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object, CFDictionaryRef userInfo)
{
    deliveries.push_back({center, observer, name, object, userInfo, std::this_thread::get_id()});
}

int countOf(const std::string& name, const void* observer = nullptr)
{
    int n = 0;
    for (const auto& d : deliveries)
        n += d.name == name && (!observer || d.observer == observer);
    return n;
}

// Posts a sentinel after the names and runs the loop until it is back: everything posted before
// it has then been delivered (the bus keeps one sender's signals in order).
bool settle(CFNotificationCenterRef center)
{
    static int token = 0;
    const std::string sentinel = uniqueName("sentinel" + std::to_string(++token));
    CFNotificationCenterAddObserver(center, &token, &record, sentinel, nullptr, 0);
    CFNotificationCenterPostNotification(center, sentinel, nullptr, nullptr, true);
    const bool back = NSRunLoop::mainRunLoop()->runUntil([&] { return countOf(sentinel) > 0; }, 5);
    CFNotificationCenterRemoveObserver(center, &token, sentinel.c_str(), nullptr);
    return back;
}

// The helper program, started with its standard output on a pipe.
class Helper {
public:
    Helper(const std::vector<std::string>& args, const std::vector<std::string>& environment = {})
    {
        const auto program = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "notification_helper";
        std::vector<std::string> argv{program.string()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> cargv;
        for (auto& a : argv)
            cargv.push_back(a.data());
        cargv.push_back(nullptr);

        std::vector<std::string> env(environment);
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const std::string key = entry.substr(0, entry.find('='));
            bool replaced = false;
            for (const auto& mine : environment)
                replaced |= mine.substr(0, mine.find('=')) == key;
            if (!replaced)
                env.push_back(entry);
        }
        std::vector<char*> cenv;
        for (auto& e : env)
            cenv.push_back(e.data());
        cenv.push_back(nullptr);

        int fds[2];
        if (pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        if (posix_spawn(&pid_, cargv[0], &actions, nullptr, cargv.data(), cenv.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_ = fds[0];
    }

    ~Helper()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0)
            close(out_);
    }

    bool started() const { return pid_ > 0; }

    // The next line of output, or nothing when none comes within the timeout.
    std::optional<std::string> readLine(double timeoutSeconds = 5)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
        for (;;) {
            if (auto end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p{out_, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0)
                return std::nullopt;
            char chunk[4096];
            const ssize_t got = read(out_, chunk, sizeof chunk);
            if (got <= 0)
                return std::nullopt;
            buffer_.append(chunk, std::size_t(got));
        }
    }

    // The exit status, or -1 when the helper has not ended within the timeout (it is killed).
    int wait(double timeoutSeconds = 5)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
};

bool sessionBus() { return std::getenv("DBUS_SESSION_BUS_ADDRESS") != nullptr; }

class ServicesNotifications : public ServicesTest {
protected:
    void SetUp() override
    {
        ServicesTest::SetUp();
        deliveries.clear();
    }
    void TearDown() override
    {
        CFNotificationCenterRemoveEveryObserver(center, &first);
        CFNotificationCenterRemoveEveryObserver(center, &second);
        CFNotificationCenterRemoveEveryObserver(center, nullptr);
        ServicesTest::TearDown();
    }

    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    int first = 0;
    int second = 0;
};

} // namespace

TEST_F(ServicesNotifications, DeliveredOnTheRunLoopOnceWithTheCallbackArguments)
{
    const std::string name = uniqueName("VTdidUpdateWeather");
    CFNotificationCenterAddObserver(center, &first, &record, name.c_str(), nullptr, 0);
    CFNotificationCenterPostNotification(center, name.c_str(), nullptr, nullptr, true);
    EXPECT_TRUE(deliveries.empty()); // never inside the post

    ASSERT_TRUE(NSRunLoop::mainRunLoop()->runUntil([&] { return countOf(name) > 0; }, 5));
    ASSERT_TRUE(settle(center));
    ASSERT_EQ(countOf(name), 1);
    const Delivery& d = deliveries.front();
    EXPECT_EQ(d.center, center);
    EXPECT_EQ(d.observer, &first);
    EXPECT_EQ(d.object, nullptr);
    EXPECT_EQ(d.userInfo, nullptr);
    EXPECT_EQ(d.thread, std::this_thread::get_id());
}

TEST_F(ServicesNotifications, OnlyObserversOfTheNameAreCalledUntilRemoved)
{
    const std::string settings = uniqueName("loadVantorelS");
    const std::string respring = uniqueName("RespringVT");
    CFNotificationCenterAddObserver(center, &first, &record, settings.c_str(), nullptr, 0);
    CFNotificationCenterAddObserver(center, &first, &record, settings.c_str(), nullptr, 0); // same again: still once
    CFNotificationCenterAddObserver(center, &second, &record, settings.c_str(), nullptr, 0);
    CFNotificationCenterAddObserver(center, &second, &record, respring.c_str(), nullptr, 0);

    CFNotificationCenterPostNotification(center, settings.c_str(), nullptr, nullptr, true);
    CFNotificationCenterPostNotification(center, uniqueName("unobserved").c_str(), nullptr, nullptr, true);
    ASSERT_TRUE(settle(center));
    EXPECT_EQ(countOf(settings, &first), 1);
    EXPECT_EQ(countOf(settings, &second), 1);
    EXPECT_EQ(countOf(respring), 0);

    deliveries.clear();
    CFNotificationCenterRemoveObserver(center, &first, settings.c_str(), nullptr);
    CFNotificationCenterPostNotification(center, settings.c_str(), nullptr, nullptr, true);
    CFNotificationCenterPostNotification(center, respring.c_str(), nullptr, nullptr, true);
    ASSERT_TRUE(settle(center));
    EXPECT_EQ(countOf(settings, &first), 0);
    EXPECT_EQ(countOf(settings, &second), 1);
    EXPECT_EQ(countOf(respring, &second), 1);

    deliveries.clear();
    CFNotificationCenterRemoveEveryObserver(center, &second);
    CFNotificationCenterPostNotification(center, settings.c_str(), nullptr, nullptr, true);
    CFNotificationCenterPostNotification(center, respring.c_str(), nullptr, nullptr, true);
    ASSERT_TRUE(settle(center));
    EXPECT_EQ(countOf(settings) + countOf(respring), 0);
}

TEST_F(ServicesNotifications, NamesWithAnyCharactersArriveUnchanged)
{
    const std::vector<std::string> names{
        uniqueName("with spaces and 'single' and \"double\" quotes"),
        uniqueName("x',member='Notify',arg0='y"),
        uniqueName("back\\slash, comma; semicolon = equals"),
        uniqueName("Grüße ☀"),
        uniqueName(std::string(10 * 1024, 'n')),
    };
    for (const auto& name : names)
        CFNotificationCenterAddObserver(center, &first, &record, name, nullptr, 0);
    for (const auto& name : names)
        CFNotificationCenterPostNotification(center, name, nullptr, nullptr, true);
    ASSERT_TRUE(settle(center));
    for (const auto& name : names)
        EXPECT_EQ(countOf(name), 1) << name.substr(0, 60);

    // Not UTF-8, so not a bus string: it still reaches this process.
    const std::string latin1 = uniqueName("caf\xe9");
    CFNotificationCenterAddObserver(center, &first, &record, latin1, nullptr, 0);
    CFNotificationCenterPostNotification(center, latin1, nullptr, nullptr, true);
    EXPECT_TRUE(NSRunLoop::mainRunLoop()->runUntil([&] { return countOf(latin1) == 1; }, 5));
}

TEST_F(ServicesNotifications, PostsFromOtherThreadsAreDeliveredOnTheMainThread)
{
    const std::string name = uniqueName("fromWorker");
    CFNotificationCenterAddObserver(center, &first, &record, name.c_str(), nullptr, 0);
    std::thread([&] { CFNotificationCenterPostNotification(center, name.c_str(), nullptr, nullptr, true); }).join();
    ASSERT_TRUE(NSRunLoop::mainRunLoop()->runUntil([&] { return countOf(name) > 0; }, 5));
    EXPECT_EQ(deliveries.front().thread, std::this_thread::get_id());
}

TEST_F(ServicesNotifications, BadArgumentsDoNothing)
{
    CFNotificationCenterAddObserver(nullptr, &first, &record, "x", nullptr, 0);
    CFNotificationCenterAddObserver(center, &first, nullptr, "x", nullptr, 0);
    CFNotificationCenterAddObserver(center, &first, &record, static_cast<CFStringRef>(nullptr), nullptr, 0);
    CFNotificationCenterPostNotification(center, static_cast<CFStringRef>(nullptr), nullptr, nullptr, true);
    CFNotificationCenterPostNotification(nullptr, "x", nullptr, nullptr, true);
    CFNotificationCenterRemoveObserver(nullptr, &first, nullptr, nullptr);
    ASSERT_TRUE(settle(center));
    EXPECT_EQ(countOf("x"), 0);
}

TEST_F(ServicesNotifications, APostHereReachesAnObserverInAnotherProcessAndNothingElseDoes)
{
    if (!sessionBus())
        GTEST_SKIP() << "needs a session bus (run under dbus-run-session)";
    const std::string wanted = uniqueName("VTdidUpdateWeather");
    const std::string odd = uniqueName("it's \"odd\", isn't it") + std::string(10 * 1024, 'z');
    const std::string other = uniqueName("notForTheHelper");
    const std::string sentinel = uniqueName("done");

    Helper helper({"observe", sentinel, wanted, odd});
    ASSERT_TRUE(helper.started());
    ASSERT_EQ(helper.readLine(), "ready");
    for (const auto& name : {other, wanted, other, odd, sentinel})
        CFNotificationCenterPostNotification(center, name, nullptr, nullptr, true);

    EXPECT_EQ(helper.readLine(), "got " + wanted);
    EXPECT_EQ(helper.readLine(), "got " + odd);
    EXPECT_EQ(helper.readLine(), "got " + sentinel);
    EXPECT_EQ(helper.wait(), 0);

    // The other process logged what it got to the device log.
    std::ifstream log(device.host("/var/log/vantorel.log"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find(" notification_he"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("]: received " + wanted), std::string::npos) << lines[0];
}

TEST_F(ServicesNotifications, APostInAnotherProcessReachesAnObserverHere)
{
    if (!sessionBus())
        GTEST_SKIP() << "needs a session bus (run under dbus-run-session)";
    const std::string wanted = uniqueName("loadVantorelS");
    const std::string other = uniqueName("RespringVT");
    const std::string sentinel = uniqueName("done");
    CFNotificationCenterAddObserver(center, &first, &record, wanted, nullptr, 0);
    CFNotificationCenterAddObserver(center, &first, &record, sentinel, nullptr, 0);

    Helper helper({"post", other, wanted, other, sentinel});
    ASSERT_TRUE(helper.started());
    EXPECT_EQ(helper.wait(), 0);
    ASSERT_TRUE(NSRunLoop::mainRunLoop()->runUntil([&] { return countOf(sentinel) > 0; }, 5));
    EXPECT_EQ(countOf(wanted), 1);
    EXPECT_EQ(countOf(other), 0);
    EXPECT_EQ(deliveries.size(), 2u);
}

TEST_F(ServicesNotifications, WithoutABusDeliveryStaysInTheProcess)
{
    Helper helper({"local", "VTdidUpdateWeather"},
                  {"DBUS_SESSION_BUS_ADDRESS=unix:path=" + device.path() + "/no-bus-here", "XDG_RUNTIME_DIR=" + device.path()});
    ASSERT_TRUE(helper.started());
    EXPECT_EQ(helper.readLine(), "got VTdidUpdateWeather");
    EXPECT_EQ(helper.readLine(), "delivered 1 inside-post 0");
    EXPECT_EQ(helper.wait(), 0);
}
