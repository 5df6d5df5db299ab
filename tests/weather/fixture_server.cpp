#include "fixture_server.h"

#include <arpa/inet.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace weathertest {

namespace {

std::string reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

// Reads the request head (bounded in size and time); empty when none came.
std::string readRequestHead(int client)
{
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 64 * 1024) {
        pollfd pfd{client, POLLIN, 0};
        if (poll(&pfd, 1, 2000) <= 0)
            break;
        const ssize_t n = read(client, buffer, sizeof buffer);
        if (n <= 0)
            break;
        head.append(buffer, static_cast<std::size_t>(n));
    }
    return head;
}

void writeAll(int client, const std::string& data)
{
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = send(client, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += static_cast<std::size_t>(n);
    }
}

std::string responseText(int status, const std::string& body, const std::string& contentType)
{
    std::ostringstream response;
    response << "HTTP/1.1 " << status << ' ' << reason(status) << "\r\n"
             << "Content-Type: " << contentType << "\r\n"
             << "Content-Length: " << body.size() << "\r\n"
             << "Connection: close\r\n\r\n"
             << body;
    return response.str();
}

} // namespace

FixtureServer::FixtureServer()
{
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0)
        throw std::runtime_error("no socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

FixtureServer::~FixtureServer()
{
    stopping_ = true;
    thread_.join();
    for (int client : heldClients_)
        close(client);
    close(listener_);
}

void FixtureServer::answer(int status, std::string body, std::string contentType)
{
    std::lock_guard guard(lock_);
    silent_ = false;
    status_ = status;
    body_ = std::move(body);
    contentType_ = std::move(contentType);
}

void FixtureServer::neverAnswer()
{
    std::lock_guard guard(lock_);
    silent_ = true;
}

void FixtureServer::answerHeld(int status, const std::string& body)
{
    std::vector<int> held;
    {
        std::lock_guard guard(lock_);
        held.swap(heldClients_);
    }
    const std::string response = responseText(status, body, "application/json");
    for (int client : held) {
        writeAll(client, response);
        close(client);
    }
}

std::string FixtureServer::baseURL() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<std::string> FixtureServer::requests() const
{
    std::lock_guard guard(lock_);
    return requests_;
}

void FixtureServer::serve()
{
    while (!stopping_) {
        pollfd pfd{listener_, POLLIN, 0};
        if (poll(&pfd, 1, 50) <= 0)
            continue;
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0)
            handle(client);
    }
}

void FixtureServer::handle(int client)
{
    const std::string head = readRequestHead(client);
    std::unique_lock guard(lock_);
    if (const auto firstSpace = head.find(' '); firstSpace != std::string::npos) {
        const auto secondSpace = head.find(' ', firstSpace + 1);
        requests_.push_back(head.substr(firstSpace + 1, secondSpace - firstSpace - 1));
    }
    if (silent_) {
        heldClients_.push_back(client);
        return;
    }
    const std::string response = responseText(status_, body_, contentType_);
    guard.unlock();
    writeAll(client, response);
    close(client);
}

std::string fixture(const std::string& name)
{
    std::ifstream in(std::string(WEATHER_FIXTURES_DIR) + "/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing fixture " + name);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

} // namespace weathertest
