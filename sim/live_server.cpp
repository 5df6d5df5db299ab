#include "sim/live_server.h"

#include "sim/live_page.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <pthread.h>
#include <sstream>
#include <thread>

namespace sim {

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void reply(httplib::Response& response, int status, const nlohmann::json& body)
{
    response.status = status;
    response.set_content(body.dump(), "application/json");
}

} // namespace

sigset_t stopSignalSet()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

void blockStopSignals()
{
    const sigset_t signals = stopSignalSet();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

bool serveLiveDevice(Device& device, int port, const std::string& screensDir)
{
    httplib::Server server;
    std::mutex deviceLock;  // requests arrive on several threads; the device plays one at a time
    const std::string screen = (std::filesystem::absolute(screensDir) / "live.png").string();
    int served = 0;

    server.set_payload_max_length(4096);
    server.Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(kLivePage, "text/html; charset=utf-8");
    });
    server.Get("/screen.png", [&](const httplib::Request&, httplib::Response& response) {
        std::lock_guard guard(deviceLock);
        if (const auto why = device.snapshotTo(screen); !why.empty())
            return reply(response, 500, {{"error", why}});
        response.set_header("Cache-Control", "no-store");
        response.set_content(readFile(screen), "image/png");
    });
    server.Get("/state", [&](const httplib::Request&, httplib::Response& response) {
        std::lock_guard guard(deviceLock);
        reply(response, 200, {{"state", device.state()}});
    });
    server.Post("/event", [&](const httplib::Request& request, httplib::Response& response) {
        std::optional<Event> event;
        try {
            event = parseLine(request.body, "request", 1);
        } catch (const ScenarioError& error) {
            return reply(response, 400, {{"error", error.what()}});
        }
        if (!event)
            return reply(response, 400, {{"error", "request:1: expected an event"}});
        std::lock_guard guard(deviceLock);
        if (const auto why = device.play(*event); !why.empty())
            return reply(response, 400, {{"error", why}});
        reply(response, 200, {{"ok", true}, {"event", ++served}});
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        reply(response, 500, {{"error", "the device could not play that"}});
    });

    const int bound = port > 0 ? (server.bind_to_port("127.0.0.1", port) ? port : -1)
                               : server.bind_to_any_port("127.0.0.1");
    if (bound <= 0)
        return false;
    // SIGINT and SIGTERM end the serving: blocked in every thread (blockStopSignals), one thread
    // waits for them.
    sigset_t stopSignals = stopSignalSet();
    std::thread waiter([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    });
    std::printf("live device at http://127.0.0.1:%d/ (Ctrl-C ends it)\n", bound);
    std::fflush(stdout);
    server.listen_after_bind();
    if (waiter.joinable()) {
        pthread_kill(waiter.native_handle(), SIGTERM);
        waiter.join();
    }
    return true;
}

} // namespace sim
