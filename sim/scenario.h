// Scenarios: the simulated device's script of timed lock-screen events, one event a line.
//
//   # a comment; blank lines are ignored
//   [+<seconds>] <verb> <arguments...>
//
// A leading "+<seconds>" lets that much device time pass before the event. The verbs, with what
// each expects, are listed in `kVerbs` (scenario.cpp) and in sim/scenarios/README.md. A line that
// does not parse is a ScenarioError naming the file, the line and what was expected; parsing
// stops at the first one, so a scenario with an error plays nothing.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim {

struct Event {
    std::string verb;                 // "post", "tap", "settings", ...
    std::vector<std::string> words;   // the arguments, split at blanks
    std::string text;                 // the arguments as written (for titles, captions, commands)
    double delay = 0;                 // seconds of device time before the event
    int line = 0;                     // 1-based line in the scenario file (0: not from a file)
};

class ScenarioError : public std::runtime_error {
public:
    ScenarioError(const std::string& file, int line, const std::string& expected)
        : std::runtime_error(file + ":" + std::to_string(line) + ": expected " + expected)
    {
    }
};

// The longest line a scenario (or the live page) may send; longer ones are refused.
constexpr std::size_t kMaxLineLength = 512;

// Parses one line; nullopt for a blank or comment line. Throws ScenarioError.
std::optional<Event> parseLine(const std::string& line, const std::string& file, int lineNumber);
// Parses a whole scenario file. Throws ScenarioError (an unreadable file is line 0).
std::vector<Event> parseScenario(const std::string& path);

// A point of the screen in points, checked against the screen's size.
struct ScreenPoint {
    double x = 0, y = 0;
};
constexpr double kScreenWidth = 320, kScreenHeight = 568;

} // namespace sim
