#include "sim/scenario.h"

#include "sim/weather_answers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

namespace sim {

namespace {

std::vector<std::string> split(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

std::string trim(const std::string& text)
{
    const auto begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

std::optional<double> number(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool matches(const std::string& text, const char* pattern) { return std::regex_match(text, std::regex(pattern)); }

bool printable(const std::string& text)
{
    for (const unsigned char c : text)
        if (c < 0x20 || c == 0x7f)
            return false;
    return true;
}

const char* const kIdentifier = R"([A-Za-z0-9][A-Za-z0-9._-]{0,127})";
const char* const kViewName = R"((widgets|notifications|greeting|weather|table|widget-area|hub:[1-9][0-9]?|tile:[A-Za-z0-9._-]{1,64}))";

bool inScreen(const std::string& x, const std::string& y)
{
    const auto px = number(x), py = number(y);
    return px && py && *px >= 0 && *px < kScreenWidth && *py >= 0 && *py < kScreenHeight;
}

// A tap target: a point of the screen or a named view.
bool target(const std::vector<std::string>& w)
{
    return (w.size() == 2 && inScreen(w[0], w[1])) || (w.size() == 1 && matches(w[0], kViewName));
}

struct Verb {
    const char* name;
    const char* expected;  // what a correct line looks like, for the error message
    std::function<bool(const std::vector<std::string>& words, const std::string& text)> valid;
};

const std::vector<Verb>& verbs()
{
    using W = const std::vector<std::string>&;
    using T = const std::string&;
    static const std::vector<Verb> table{
        {"clock", "clock [YYYY-MM-DD] HH:MM",
         [](W w, T) {
             const char* time = R"(([01][0-9]|2[0-3]):[0-5][0-9])";
             return (w.size() == 1 && matches(w[0], time)) ||
                    (w.size() == 2 && matches(w[0], R"((19[7-9][0-9]|20[0-9][0-9])-(0[1-9]|1[0-2])-(0[1-9]|[12][0-9]|3[01]))") &&
                     matches(w[1], time));
         }},
        {"wait", "wait <seconds> (0 to 86400)",
         [](W w, T) { return w.size() == 1 && number(w[0]) && *number(w[0]) >= 0 && *number(w[0]) <= 86400; }},
        {"post", "post <application id> <title> [| <message>]",
         [](W w, T) { return w.size() >= 2 && matches(w[0], kIdentifier) && w[1] != "|"; }},
        {"card", "card <identifier> [title]", [](W w, T) { return !w.empty() && matches(w[0], kIdentifier); }},
        {"alert", "alert <title>", [](W w, T) { return !w.empty(); }},
        {"remove", "remove <index> or remove <application id>",
         [](W w, T) { return w.size() == 1 && (matches(w[0], "[0-9]{1,6}") || matches(w[0], kIdentifier)); }},
        {"tap", "tap <x> <y> (points inside 320 x 568) or tap <view> (widgets, notifications, greeting, weather, table, widget-area, hub:<n>, tile:<plug-in>)",
         [](W w, T) { return target(w); }},
        {"double-tap", "double-tap <x> <y> or double-tap <view>", [](W w, T) { return target(w); }},
        {"swipe", "swipe <x> <y> <dx> <dy> or swipe <view> <dx> <dy> (a finger moving by dx, dy points)",
         [](W w, T) {
             auto travel = [](const std::string& d) { return number(d) && std::fabs(*number(d)) <= kScreenHeight; };
             return (w.size() == 4 && inScreen(w[0], w[1]) && travel(w[2]) && travel(w[3])) ||
                    (w.size() == 3 && matches(w[0], kViewName) && travel(w[1]) && travel(w[2]));
         }},
        {"pull", "pull <points> (-568 to 568; positive pulls the list down)",
         [](W w, T) { return w.size() == 1 && number(w[0]) && std::fabs(*number(w[0])) <= kScreenHeight; }},
        {"home", "home", [](W w, T) { return w.empty(); }},
        {"lock", "lock", [](W w, T) { return w.empty(); }},
        {"screen", "screen on or screen off", [](W w, T) { return w.size() == 1 && (w[0] == "on" || w[0] == "off"); }},
        {"media", "media", [](W w, T) { return w.empty(); }},
        {"clear", "clear", [](W w, T) { return w.empty(); }},
        {"teardown", "teardown", [](W w, T) { return w.empty(); }},
        {"layout", "layout", [](W w, T) { return w.empty(); }},
        {"respring", "respring", [](W w, T) { return w.empty(); }},
        {"settings", "settings <Settings app command> (see the Settings app's commands)",
         [](W w, T) { return !w.empty(); }},
        {"weather", "weather <degrees Celsius -100 to 70> <sunny|clear|fair|partly-cloudy|cloudy|fog|drizzle|rain|snow|showers|thunderstorm>",
         [](W w, T) {
             return w.size() == 2 && number(w[0]) && *number(w[0]) >= -100 && *number(w[0]) <= 70 &&
                    serviceCodeForWord(w[1]);
         }},
        {"daemon", "daemon stop or daemon start",
         [](W w, T) { return w.size() == 1 && (w[0] == "stop" || w[0] == "start"); }},
        {"snapshot", "snapshot <caption>", [](W w, T) { return !w.empty(); }},
    };
    return table;
}

} // namespace

std::optional<Event> parseLine(const std::string& raw, const std::string& file, int lineNumber)
{
    if (raw.size() > kMaxLineLength)
        throw ScenarioError(file, lineNumber, "a line of at most " + std::to_string(kMaxLineLength) + " characters");
    std::string line = trim(raw);
    if (line.empty() || line[0] == '#')
        return std::nullopt;
    if (!printable(line))
        throw ScenarioError(file, lineNumber, "printable text (no control characters)");

    Event event;
    event.line = lineNumber;
    if (line[0] == '+') {
        const auto space = line.find_first_of(" \t");
        const auto delay = number(line.substr(1, space == std::string::npos ? std::string::npos : space - 1));
        if (!delay || *delay < 0 || *delay > 86400)
            throw ScenarioError(file, lineNumber, "a delay \"+<seconds>\" of 0 to 86400 before the event");
        event.delay = *delay;
        line = space == std::string::npos ? std::string() : trim(line.substr(space));
        if (line.empty())
            throw ScenarioError(file, lineNumber, "an event after the delay");
    }
    const auto space = line.find_first_of(" \t");
    event.verb = line.substr(0, space);
    event.text = space == std::string::npos ? std::string() : trim(line.substr(space));
    event.words = split(event.text);

    for (const Verb& verb : verbs()) {
        if (event.verb != verb.name)
            continue;
        if (!verb.valid(event.words, event.text))
            throw ScenarioError(file, lineNumber, std::string("\"") + verb.expected + "\"");
        return event;
    }
    std::string known;
    for (const Verb& verb : verbs())
        known += (known.empty() ? "" : ", ") + std::string(verb.name);
    throw ScenarioError(file, lineNumber, "one of the events " + known + " (got \"" + event.verb + "\")");
}

std::vector<Event> parseScenario(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw ScenarioError(path, 0, "a readable scenario file");
    std::vector<Event> events;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        if (auto event = parseLine(line, path, ++number))
            events.push_back(std::move(*event));
    }
    return events;
}

} // namespace sim
