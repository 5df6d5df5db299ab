// A tiny HTTP server on 127.0.0.1 (a free port) for the weather tests: it answers every request
// with one canned response, or accepts and never answers. It stops when destroyed.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace weathertest {

class FixtureServer {
public:
    FixtureServer();
    ~FixtureServer();
    FixtureServer(const FixtureServer&) = delete;
    FixtureServer& operator=(const FixtureServer&) = delete;

    // Every request from now on gets this answer.
    void answer(int status, std::string body, std::string contentType = "application/json");
    // Every request from now on is read and then left without an answer until the server stops
    // or answerHeld() is called.
    void neverAnswer();
    // Answers the requests held so far (and only those) now.
    void answerHeld(int status, const std::string& body);

    // "http://127.0.0.1:<port>"
    std::string baseURL() const;
    // The request targets received so far ("/v1/forecast?latitude=...").
    std::vector<std::string> requests() const;

private:
    void serve();
    void handle(int client);

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex lock_;
    bool silent_ = false;
    int status_ = 200;
    std::string body_;
    std::string contentType_;
    std::vector<std::string> requests_;
    std::vector<int> heldClients_;
    std::thread thread_;
};

// The contents of a file under tests/weather/fixtures.
std::string fixture(const std::string& name);

} // namespace weathertest
