#include "springboard/command_interpreter.h"

#include "foundation/clock.h"
#include "foundation/runloop.h"
#include "springboard/springboard.h"
#include "springboard/view_listing.h"
#include "uikit/application.h"
#include "uikit/label.h"
#include "uikit/table_view.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <vector>

using objc::operator""_sel;

namespace {

std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

// The rest of the line after the first n words, with surrounding blanks trimmed.
std::string restAfter(const std::string& line, std::size_t n)
{
    std::size_t at = 0;
    for (std::size_t i = 0; i < n; ++i) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string::npos)
            return {};
        at = line.find_first_of(" \t", at);
        if (at == std::string::npos)
            return {};
    }
    const std::size_t begin = line.find_first_not_of(" \t", at);
    if (begin == std::string::npos)
        return {};
    const std::size_t end = line.find_last_not_of(" \t\r");
    return line.substr(begin, end - begin + 1);
}

std::optional<double> number(const std::string& text)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<long> integer(const std::string& text)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE)
        return std::nullopt;
    return value;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

void collectLabels(const UIView* view, std::vector<std::string>& texts)
{
    if (view->isHidden() || dynamic_cast<const UITableView*>(view))
        return;
    if (auto label = dynamic_cast<const UILabel*>(view))
        texts.push_back(label->text());
    for (const auto& sub : view->subviews())
        collectLabels(sub.get(), texts);
}

SBCommandInterpreter::Answer ok() { return {"ok"}; }
SBCommandInterpreter::Answer error(const std::string& why) { return {"error " + why}; }

} // namespace

SBCommandInterpreter::Answer SBCommandInterpreter::execute(const std::string& line)
{
    const auto w = words(line);
    if (w.empty())
        return error("empty command");
    const std::string& command = w[0];
    SpringBoard& sb = springBoard_;

    if (command == "bulletin") {
        if (w.size() < 3)
            return error("usage: bulletin <sectionID> <title...> [| <message...>]");
        std::string title = restAfter(line, 2);
        std::string message;
        if (const auto bar = title.find('|'); bar != std::string::npos) {
            message = restAfter(" " + title.substr(bar + 1), 0);
            title = restAfter(" " + title.substr(0, bar), 0);
        }
        sb.addBulletin(w[1], title, message);
        return ok();
    }
    if (command == "card") {
        if (w.size() < 2)
            return error("usage: card <identifier> [title...]");
        sb.addCard(w[1], restAfter(line, 2));
        return ok();
    }
    if (command == "alert") {
        if (w.size() < 2)
            return error("usage: alert <title...>");
        sb.addSystemAlert(restAfter(line, 1));
        return ok();
    }
    if (command == "remove") {
        long index = -1;
        if (w.size() == 2)
            index = integer(w[1]).value_or(-1);
        const auto items = sb.items();
        if (index < 0 || static_cast<std::size_t>(index) >= items.size())
            return error("no item at that index");
        sb.removeItem(items[static_cast<std::size_t>(index)]);
        return ok();
    }
    if (command == "home" && w.size() == 1) {
        sb.pressHomeButton();
        return ok();
    }
    if (command == "lock" && w.size() == 1) {
        sb.pressLockButton();
        return ok();
    }
    if (command == "screen") {
        if (w.size() != 2 || (w[1] != "off" && w[1] != "on"))
            return error("usage: screen off|on");
        sb.setScreenOff(w[1] == "off");
        return ok();
    }
    if (command == "teardown" && w.size() == 1) {
        sb.teardownList();
        return ok();
    }
    if (command == "clear" && w.size() == 1) {
        sb.clearForNotificationCenter();
        return ok();
    }
    if (command == "media" && w.size() == 1) {
        if (!sb.startMedia())
            return error("the now-playing plug-in is not installed");
        return ok();
    }
    if (command == "layout" && w.size() == 1) {
        sb.layout();
        return ok();
    }
    if (command == "tap") {
        const auto x = w.size() >= 3 ? number(w[1]) : std::nullopt;
        const auto y = w.size() >= 3 ? number(w[2]) : std::nullopt;
        const auto taps = w.size() == 4 ? integer(w[3]) : std::optional<long>(1);
        if (!x || !y || !taps || *taps < 1 || *taps > 10 || w.size() > 4)
            return error("usage: tap <x> <y> [taps 1-10]");
        sb.tap(CGPointMake(*x, *y), static_cast<int>(*taps));
        return ok();
    }
    if (command == "drag") {
        const auto dx = w.size() >= 3 ? number(w[1]) : std::nullopt;
        const auto dy = w.size() >= 3 ? number(w[2]) : std::nullopt;
        if (!dx || !dy || w.size() > 4)
            return error("usage: drag <dx> <dy> [decelerate]");
        bool decelerate = false;
        if (w.size() == 4) {
            if (w[3] == "decelerate" || w[3] == "1" || w[3] == "yes")
                decelerate = true;
            else if (w[3] != "0" && w[3] != "no")
                return error("usage: drag <dx> <dy> [decelerate]");
        }
        sb.drag(CGPointMake(*dx, *dy), decelerate);
        return ok();
    }
    if (command == "swipe") {
        const auto x = w.size() == 5 ? number(w[1]) : std::nullopt;
        const auto y = w.size() == 5 ? number(w[2]) : std::nullopt;
        const auto dx = w.size() == 5 ? number(w[3]) : std::nullopt;
        const auto dy = w.size() == 5 ? number(w[4]) : std::nullopt;
        if (!x || !y || !dx || !dy)
            return error("usage: swipe <x> <y> <dx> <dy>");
        sb.swipe(CGPointMake(*x, *y), CGPointMake(*dx, *dy));
        return ok();
    }
    if (command == "clock") {
        const auto epoch = w.size() == 2 ? number(w[1]) : std::nullopt;
        if (!epoch || *epoch < 0)
            return error("usage: clock <seconds since 1970>");
        foundation::setNow(*epoch);
        sb.noteUserActivity();
        return ok();
    }
    if (command == "wait") {
        const auto seconds = w.size() == 2 ? number(w[1]) : std::nullopt;
        if (!seconds || *seconds < 0 || *seconds > 3600)
            return error("usage: wait <seconds, up to 3600>");
        if (foundation::isVirtualClock())
            foundation::advanceClock(*seconds);
        else
            NSRunLoop::mainRunLoop()->runForSeconds(*seconds);
        return ok();
    }
    if (command == "snapshot") {
        const std::string path = restAfter(line, 1);
        if (path.empty())
            return error("usage: snapshot <host path>");
        if (!snapshotter_)
            return error("this host cannot take snapshots");
        if (!snapshotter_(sb.rootView(), path))
            return error("cannot write the snapshot");
        return ok();
    }
    if (command == "state" && w.size() == 1)
        return {"state " + describeState() + " ok"};
    if (command == "views" && w.size() == 1)
        return {"views " + listVisibleViews(sb.rootView()) + " ok"};
    if (command == "relaunch" && w.size() == 1)
        return {"ok", Outcome::Relaunch};
    if (command == "quit" && w.size() == 1)
        return {"ok", Outcome::Quit};
    return error("unknown command: " + command);
}

std::string SBCommandInterpreter::describeState() const
{
    const SpringBoard& sb = springBoard_;
    std::ostringstream out;
    out << "items=" << sb.items().size();
    out << " screen=" << (sb.isScreenOff() ? "off" : "on");
    out << " idle=" << SBIdleStateName(sb.idleState());
    out << " idleDisabled=" << (sb.isIdleTimerDisabled() ? 1 : 0);
    out << " underlay=" << (sb.isContentUnderlayShown() ? 1 : 0);
    out << " media=" << (sb.mediaView() ? 1 : 0);
    out << " rows=" << (sb.listView()->tableView() ? sb.listView()->tableView()->numberOfRowsInSection(0) : 0);
    std::vector<std::string> texts;
    if (const auto& container = sb.listView()->containerView())
        collectLabels(container.get(), texts);
    out << " labels=[";
    for (std::size_t i = 0; i < texts.size(); ++i)
        out << (i ? "," : "") << quoted(texts[i]);
    out << "]";
    return out.str();
}
