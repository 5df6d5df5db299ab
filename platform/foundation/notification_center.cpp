#include "foundation/notification_center.h"

#include "foundation/runloop.h"

#include <systemd/sd-bus.h>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr const char* kPath = "/com/vantorel/DarwinNotify";
constexpr const char* kInterface = "com.vantorel.DarwinNotify";
constexpr const char* kMember = "Notify";
// One rule for every notification: names never go into rules (the bus limits their length and
// quoting), the centre filters them itself.
constexpr const char* kMatchRule =
    "type='signal',path='/com/vantorel/DarwinNotify',interface='com.vantorel.DarwinNotify',member='Notify'";

bool onMainThread() { return ::gettid() == ::getpid(); }

double monotonicMicroseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

} // namespace

// Main-thread state of the one Darwin centre of the process.
struct CFNotificationCenter {
    struct Observer {
        std::uint64_t key = 0;
        const void* observer = nullptr;
        std::string name;
        CFNotificationCallback callback = nullptr;
    };

    std::vector<Observer> observers;
    std::uint64_t nextKey = 1;
    sd_bus* bus = nullptr;
    sd_bus_slot* match = nullptr;
    NSRunLoop::SourceToken source = 0;
    std::vector<std::string> received; // read off the bus, not yet delivered
    // A bus that could not be reached (or went away) is tried again once this much real time
    // has passed: while observers wait for notifications, a retry source on the run loop does
    // it; a post does it by itself. So a bus that is restarted is found again.
    static constexpr double kRetryMicroseconds = 1e6;
    double retryAt = 0; // monotonic microseconds; 0: try at once
    NSRunLoop::SourceToken retrySource = 0;

    void add(const void* observer, CFNotificationCallback callback, const std::string& name)
    {
        auto it = std::find_if(observers.begin(), observers.end(),
                               [&](const Observer& o) { return o.observer == observer && o.name == name; });
        if (it != observers.end())
            it->callback = callback;
        else
            observers.push_back({nextKey++, observer, name, callback});
        listen();
    }

    void remove(const void* observer, const std::string* name)
    {
        std::erase_if(observers, [&](const Observer& o) { return o.observer == observer && (!name || o.name == *name); });
    }

    void post(const std::string& name)
    {
        // A name with a NUL in it cannot cross the bus whole; it stays in the process, like a
        // name that is not UTF-8 (which the bus refuses below).
        sd_bus* b = name.find('\0') == std::string::npos ? connect() : nullptr;
        if (b) {
            if (sd_bus_emit_signal(b, kPath, kInterface, kMember, "s", name.c_str()) >= 0) {
                if (sd_bus_flush(b) < 0)
                    disconnect();
                return;
            }
        }
        NSRunLoop::mainRunLoop()->performOnMainThread([this, name] { deliver(name); });
    }

    // Callbacks run here, outside sd_bus_process, so that a callback may itself post or run a
    // nested pass of the run loop.
    void deliver(const std::string& name)
    {
        std::vector<std::uint64_t> keys;
        for (const Observer& o : observers)
            if (o.name == name)
                keys.push_back(o.key);
        for (std::uint64_t key : keys) {
            auto it = std::find_if(observers.begin(), observers.end(), [&](const Observer& o) { return o.key == key; });
            if (it == observers.end())
                continue; // removed by an earlier callback
            Observer o = *it;
            o.callback(this, const_cast<void*>(o.observer), name.c_str(), nullptr, nullptr);
        }
    }

    sd_bus* connect()
    {
        if (bus || monotonicMicroseconds() < retryAt)
            return bus;
        if (sd_bus_open_user(&bus) < 0) {
            bus = nullptr;
            retryLater();
            return nullptr;
        }
        NSRunLoop::FileSource s;
        s.fd = sd_bus_get_fd(bus);
        s.events = [this] { return bus ? short(sd_bus_get_events(bus)) : short(0); };
        s.timeout = [this] { return timeout(); };
        s.dispatch = [this] { dispatch(); };
        source = NSRunLoop::mainRunLoop()->addFileSource(std::move(s));
        return bus;
    }

    void listen()
    {
        if (match || !connect())
            return;
        if (sd_bus_add_match(bus, &match, kMatchRule, &CFNotificationCenter::onSignal, this) < 0) {
            match = nullptr;
            disconnect(); // a bus that will not tell us about notifications is no use
        }
    }

    void disconnect()
    {
        NSRunLoop::mainRunLoop()->removeFileSource(source);
        source = 0;
        match = sd_bus_slot_unref(match);
        bus = sd_bus_flush_close_unref(bus);
        retryLater();
    }

    // Observers need the bus to hear other processes: a source without a descriptor, due when
    // the retry time comes, listens again. (Real time, also under the virtual clock: the bus
    // comes back in real time.)
    void retryLater()
    {
        retryAt = monotonicMicroseconds() + kRetryMicroseconds;
        if (retrySource || observers.empty())
            return;
        NSRunLoop::FileSource s;
        s.fd = -1;
        s.timeout = [this] { return std::max(0.0, (retryAt - monotonicMicroseconds()) / 1e6); };
        s.dispatch = [this] {
            NSRunLoop::mainRunLoop()->removeFileSource(retrySource);
            retrySource = 0;
            listen();
        };
        retrySource = NSRunLoop::mainRunLoop()->addFileSource(std::move(s));
    }

    double timeout() const
    {
        std::uint64_t usec = 0;
        if (!bus || sd_bus_get_timeout(bus, &usec) < 0 || usec == std::numeric_limits<std::uint64_t>::max())
            return std::numeric_limits<double>::infinity();
        return std::max(0.0, (double(usec) - monotonicMicroseconds()) / 1e6);
    }

    void dispatch()
    {
        while (bus) {
            const int r = sd_bus_process(bus, nullptr);
            if (r < 0)
                disconnect(); // the bus went away: from now on delivery stays in the process
            if (r <= 0)
                break;
        }
        std::vector<std::string> names;
        names.swap(received);
        for (const std::string& name : names)
            deliver(name);
    }

    static int onSignal(sd_bus_message* message, void* self, sd_bus_error*)
    {
        const char* name = nullptr;
        if (sd_bus_message_read(message, "s", &name) >= 0 && name)
            static_cast<CFNotificationCenter*>(self)->received.emplace_back(name);
        return 0;
    }
};

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter()
{
    static auto* center = new CFNotificationCenter; // lives as long as the process
    return center;
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, CFStringRef name, const void* object,
                                     long suspensionBehavior)
{
    if (center && callback && name)
        CFNotificationCenterAddObserver(center, observer, callback, std::string(name), object, suspensionBehavior);
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, const std::string& name, const void*, long)
{
    if (!center || !callback)
        return;
    if (!onMainThread()) {
        NSRunLoop::mainRunLoop()->performOnMainThread([=] { center->add(observer, callback, name); });
        return;
    }
    center->add(observer, callback, name);
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer, CFStringRef name,
                                        const void*)
{
    if (!center)
        return;
    std::optional<std::string> which;
    if (name)
        which = name;
    if (!onMainThread()) {
        NSRunLoop::mainRunLoop()->performOnMainThread([=] { center->remove(observer, which ? &*which : nullptr); });
        return;
    }
    center->remove(observer, which ? &*which : nullptr);
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer)
{
    CFNotificationCenterRemoveObserver(center, observer, nullptr, nullptr);
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name, const void* object,
                                          CFDictionaryRef userInfo, bool deliverImmediately)
{
    if (center && name)
        CFNotificationCenterPostNotification(center, std::string(name), object, userInfo, deliverImmediately);
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, const std::string& name, const void*,
                                          CFDictionaryRef, bool)
{
    if (!center)
        return;
    if (!onMainThread()) {
        NSRunLoop::mainRunLoop()->performOnMainThread([=] { center->post(name); });
        return;
    }
    center->post(name);
}
