// The weather daemon's code for 10,000 ticks of its five-minute timer on the virtual clock, while
// the weather service answers 500, answers garbage or does not answer within the timeout: the
// city file keeps the last good weather byte for byte, no temporary is left, the daemon's memory
// stays flat, and the real host beside it keeps showing the last good weather.
#include "host_fixture.h"

#include "common/support_paths.h"
#include "daemon/weather_updater_helper.h"
#include "foundation/clock.h"
#include "foundation/runloop.h"
#include "location/device_location.h"

#include "weather_test_support.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <deque>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#if defined(__SANITIZE_ADDRESS__)
#define VANTOREL_ASAN_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTOREL_ASAN_HEAP 1
#endif
#endif
#ifdef VANTOREL_ASAN_HEAP
// From the sanitizer's run-time library (GCC installs no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace fs = std::filesystem;

namespace {

// A weather service on 127.0.0.1 that answers every request the same way, or reads it and
// never answers (holding the last few connections open, so the client's timeout ends them). It
// keeps nothing per request: the heap of this process is the daemon's to measure.
class FaultyService {
public:
    enum class Mode { Answer, Silent };

    FaultyService()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 64) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("cannot listen on 127.0.0.1");
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~FaultyService()
    {
        stopping_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
        for (int held : held_)
            ::close(held);
    }

    std::string baseURL() const { return "http://127.0.0.1:" + std::to_string(port_); }
    void answer(int status, const std::string& body)
    {
        std::lock_guard guard(lock_);
        mode_ = Mode::Answer;
        response_ = "HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Type: application/json\r\nContent-Length: " +
                    std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }
    void silent()
    {
        std::lock_guard guard(lock_);
        mode_ = Mode::Silent;
    }

private:
    void serve()
    {
        while (!stopping_) {
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            char request[4096];
            pollfd ready{client, POLLIN, 0};
            if (::poll(&ready, 1, 2000) > 0) {
                [[maybe_unused]] const ssize_t got = ::read(client, request, sizeof request);
            }
            std::string response;
            {
                std::lock_guard guard(lock_);
                if (mode_ == Mode::Answer)
                    response = response_;
            }
            if (response.empty()) {
                held_.push_back(client);
                if (held_.size() > 8) {
                    ::close(held_.front());
                    held_.pop_front();
                }
                continue;
            }
            [[maybe_unused]] ssize_t sent = ::send(client, response.data(), response.size(), MSG_NOSIGNAL);
            ::close(client);
        }
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::mutex lock_;
    Mode mode_ = Mode::Answer;
    std::string response_;
    std::deque<int> held_;
    std::thread thread_;
};

// Bytes of heap in use in this process (the daemon's code runs in it).
std::size_t heapInUse()
{
#ifdef VANTOREL_ASAN_HEAP
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

std::string contents(const std::string& hostPath)
{
    std::ifstream in(hostPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

long ended = 0; // fetches that ended, saved or failed
using Ref = const objc::ObjectRef&;
void (*previousSaved)(objc::Object*, objc::SEL, Ref, Ref, Ref);
void (*previousFailed)(objc::Object*, objc::SEL, Ref, Ref, Ref);
void countSaved(objc::Object* self, objc::SEL cmd, Ref updater, Ref city, Ref where)
{
    ++ended;
    previousSaved(self, cmd, updater, city, where);
}
void countFailed(objc::Object* self, objc::SEL cmd, Ref updater, Ref city, Ref where)
{
    ++ended;
    previousFailed(self, cmd, updater, city, where);
}

constexpr const char* kGood = R"({"current":{"time":"2025-12-08T14:15","temperature_2m":21.5,"weather_code":0,"is_day":1},
"hourly":{"time":["2025-12-08T14:00","2025-12-08T15:00"],"temperature_2m":[21.5,22.0],"weather_code":[0,1],"is_day":[1,1]}})";

class WeatherSoakTest : public reliability::HostTest {
protected:
    WeatherSoakTest()
    {
        foundation::useVirtualClock(1765200000);
        location::setLocationServicesEnabled(true);
        location::setDevicePosition({48.5, 9.25});
        location::setFixLatency(1);
        location::setGeocodeLatency(1);
        MSHookMessageEx(WeatherUpdaterHelper::class_(), "weatherUpdater:didUpdateCity:forLocation:"_sel, &countSaved,
                        &previousSaved);
        MSHookMessageEx(WeatherUpdaterHelper::class_(), "weatherUpdater:failedToUpdateCity:forLocation:"_sel,
                        &countFailed, &previousFailed);
    }
    ~WeatherSoakTest() override { foundation::useRealClock(); }

    // One tick of the timer, and the run loop until its fetch has ended.
    bool tick()
    {
        const long before = ended;
        foundation::advanceClock(vantoreld::UpdateInterval);
        return NSRunLoop::mainRunLoop()->runUntil([&] { return ended > before; }, 10.0);
    }
};

} // namespace

TEST_F(WeatherSoakTest, TenThousandTicksOfAFailingServiceKeepTheLastGoodWeather)
{
    FaultyService service;
    service.answer(200, kGood);
    weathertest::ScopedEnvironment kind("VANTOREL_WEATHER_SERVICE", "open-meteo");
    weathertest::ScopedEnvironment base("VANTOREL_WEATHER_BASE_URL", service.baseURL());
    weathertest::ScopedEnvironment timeout("VANTOREL_WEATHER_TIMEOUT", "0.01");
    device.writeFile(std::string(vantorel::SettingsFile), reliability::settingsFile(""));
    auto host = startHost(false, {"VANTOREL_WEATHER_CELSIUS=1"});
    const std::string good = "\"It's 21.5\u00B0 C and Sunny currently.\"";

    // The first good weather (a slow machine may miss the short timeout once or twice).
    auto daemon = vantoreld::startDaemon();
    const std::string city = device.host(std::string(vantorel::CityFile));
    for (int tries = 0; tries < 20 && !fs::exists(city); ++tries)
        tick();
    ASSERT_TRUE(fs::exists(city));
    const std::string saved = contents(city);
    EXPECT_EQ(host->ask("layout"), "ok");
    ASSERT_NE(host->ask("state").find(good), std::string::npos);

    // Ten ticks in each round: five answers of 500, four of garbage, one left unanswered.
    std::size_t heapAfterWarmUp = 0;
    for (int round = 0; round < 1000; ++round) {
        for (int n = 0; n < 10; ++n) {
            if (n == 0)
                service.answer(500, "{\"error\":true}");
            else if (n == 5)
                service.answer(200, round % 2 ? "\x89PNG\r\n\x1a\n\xff\xfe garbage" : "{\"current\":{\"temperature_2m\":");
            else if (n == 9)
                service.silent();
            ASSERT_TRUE(tick()) << "round " << round << " tick " << n;
        }
        if (round == 200)
            heapAfterWarmUp = heapInUse();
    }
    const std::size_t heapAtEnd = heapInUse();
    EXPECT_LT(heapAtEnd, heapAfterWarmUp + 64 * 1024) << "from " << heapAfterWarmUp << " to " << heapAtEnd;

    EXPECT_EQ(contents(city), saved);
    for (const auto& entry : fs::directory_iterator(fs::path(city).parent_path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".City.plist.")) << entry.path();
    ASSERT_TRUE(reliability::post("VTdidUpdateWeather"));
    EXPECT_EQ(host->ask("wait 0.3"), "ok");
    EXPECT_EQ(host->ask("layout"), "ok");
    EXPECT_NE(host->ask("state").find(good), std::string::npos);
    EXPECT_EQ(host->ask("quit"), "ok");
    EXPECT_EQ(host->wait(), 0);
}
