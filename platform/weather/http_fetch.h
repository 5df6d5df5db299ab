// One blocking HTTP GET through libcurl, for weather services that run it on a worker thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace weather {

struct HttpResponse {
    bool transferred = false; // false: no complete answer (refused, timed out, too large, ...)
    long status = 0;          // HTTP status when transferred
    std::string body;
    std::string error;        // what went wrong when not transferred
    bool ok() const { return transferred && status == 200; }
};

// Answers larger than this are cut off and count as not transferred: a weather answer is a few
// kilobytes, and a runaway server must not fill the memory.
inline constexpr std::size_t kMaxHttpBody = 4 * 1024 * 1024;

// The timeout bounds the whole exchange, connection included. Safe to call from any thread.
HttpResponse httpGet(const std::string& url, std::chrono::milliseconds timeout);

} // namespace weather
