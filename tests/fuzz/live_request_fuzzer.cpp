// Any bytes as a request body from the live device's page, checked as the server checks it: an
// event comes back only for a printable line of bounded length with a known verb; everything
// else is refused with the file, the line and what was expected.
#include "sim/scenario.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string body(reinterpret_cast<const char*>(data), size);
    try {
        const auto event = sim::parseLine(body, "request", 1);
        if (!event)
            return 0;
        bool sound = body.size() <= sim::kMaxLineLength && !event->verb.empty() && event->delay >= 0 &&
                     event->delay <= 86400 && event->line == 1;
        for (const unsigned char c : event->text)
            sound = sound && c >= 0x20 && c != 0x7f;
        if (!sound) {
            std::fprintf(stderr, "live_request_fuzzer: an event from a request that should be refused\n");
            std::abort();
        }
    } catch (const sim::ScenarioError& error) {
        if (!std::string(error.what()).starts_with("request:1: expected ")) {
            std::fprintf(stderr, "live_request_fuzzer: a refusal without its reason\n");
            std::abort();
        }
    }
    return 0;
}
