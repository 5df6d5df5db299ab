#include "preferences/preferences_commands.h"

#include "foundation/runloop.h"
#include "foundation/value_reading.h"
#include "preferences/preferences_app.h"
#include "preferences/ps_editable_table_cell.h"
#include "preferences/ps_slider_table_cell.h"
#include "preferences/ps_switch_table_cell.h"
#include "uikit/alert_controller.h"
#include "uikit/application.h"
#include "uikit/collection_view.h"
#include "uikit/collection_view_cell.h"
#include "uikit/index_path.h"
#include "uikit/label.h"
#include "uikit/touch_simulator.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The words from `first` on, joined by single spaces.
std::string rest(const std::vector<std::string>& words, std::size_t first)
{
    std::string joined;
    for (std::size_t i = first; i < words.size(); ++i)
        joined += (i > first ? " " : "") + words[i];
    return joined;
}

bool parseNumber(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && std::isfinite(value);
}

bool parseIndex(const std::string& text, long& value)
{
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return false;
    value = std::stol(text);
    return true;
}

std::string error(const std::string& why) { return "error " + why; }

std::shared_ptr<UIButton> buttonIn(const std::shared_ptr<UIView>& view)
{
    if (!view)
        return nullptr;
    if (auto button = std::dynamic_pointer_cast<UIButton>(view))
        return button;
    for (const auto& sub : view->subviews())
        if (auto button = buttonIn(sub))
            return button;
    return nullptr;
}

} // namespace

bool PreferencesCommands::split(const std::string& line, std::vector<std::string>& words)
{
    words.clear();
    std::string word;
    bool inWord = false, inQuotes = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (inQuotes) {
            if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\'))
                word += line[++i];
            else if (c == '"')
                inQuotes = false;
            else
                word += c;
        } else if (c == '"') {
            inQuotes = inWord = true;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inQuotes)
        return false;
    if (inWord)
        words.push_back(std::move(word));
    return true;
}

std::string PreferencesCommands::execute(const std::string& line)
{
    std::vector<std::string> words;
    if (!split(line, words))
        return error("unterminated quote");
    if (words.empty())
        return error("empty command");
    if (!app_.isReady())
        return error(app_.failure());
    std::string answer = run(words);
    PreferencesApp::settle();
    app_.layOut();
    return answer;
}

std::string PreferencesCommands::run(const std::vector<std::string>& w)
{
    const std::string command = lower(w[0]);
    const auto needs = [&](std::size_t count) { return w.size() >= count + 1; };
    const auto row = [&](const std::string& name) { return app_.findRow(name); };
    const auto page = app_.topPage();

    if (command == "rows" && w.size() == 1) {
        std::string out = "ok [";
        bool first = true;
        for (const auto& r : page ? page->rowSpecifiers() : std::vector<std::shared_ptr<PSSpecifier>>{}) {
            out += (first ? "" : ",") + std::string("{\"row\":") + quoted(PreferencesApp::rowTitle(r)) +
                   ",\"key\":" + quoted(r->stringProperty("key")) + ",\"value\":" + quoted(app_.shownValue(r)) + "}";
            first = false;
        }
        return out + "]";
    }
    if (command == "value" && w.size() == 2) {
        const auto r = row(w[1]);
        return r ? "ok " + quoted(app_.shownValue(r)) : error("no row " + quoted(w[1]));
    }
    if (command == "state" && w.size() == 1) {
        const auto root = app_.rootController();
        const auto alert = app_.openAlert();
        const auto& opened = UIApplication::sharedApplication()->openedURLs();
        std::ostringstream out;
        out << "ok page=" << quoted(page ? page->title() : "");
        out << " left=" << quoted(root->leftButton()->isHidden() ? "" : root->leftButton()->currentTitle());
        out << " right=" << quoted(root->rightButton()->isHidden() ? "" : root->rightButton()->currentTitle());
        out << " alert=" << quoted(alert ? alert->title() : "");
        out << " message=" << quoted(alert ? alert->message() : "");
        out << " picker=" << (app_.openGrid() ? 1 : 0);
        out << " opened=" << quoted(opened.empty() ? "" : opened.back());
        return out.str();
    }
    if (command == "tap" && w.size() == 2) {
        const auto r = row(w[1]);
        if (!r)
            return error("no row " + quoted(w[1]));
        return app_.tapRow(r) ? "ok" : error("row " + quoted(w[1]) + " cannot be tapped");
    }
    if (command == "toggle" && w.size() == 2) {
        const auto r = row(w[1]);
        auto cell = r && page ? std::dynamic_pointer_cast<PSSwitchTableCell>(page->cellForSpecifier(r)) : nullptr;
        if (!cell)
            return error("no switch row " + quoted(w[1]));
        if (!app_.tapRow(r)) // brings it into view; a switch row does nothing with the tap itself
            return error("row " + quoted(w[1]) + " cannot be reached");
        return app_.tapView(cell->control().get()) ? "ok" : error("the switch cannot be tapped");
    }
    if (command == "set" && needs(2)) {
        const auto r = row(w[1]);
        if (!r || !page)
            return error("no row " + quoted(w[1]));
        const std::string value = rest(w, 2);
        const auto cell = page->cellForSpecifier(r);
        if (auto toggle = std::dynamic_pointer_cast<PSSwitchTableCell>(cell)) {
            const std::string wanted = lower(value);
            if (wanted != "on" && wanted != "off")
                return error("a switch is on or off");
            if (toggle->control()->isOn() != (wanted == "on"))
                return run({"toggle", w[1]});
            return "ok";
        }
        if (auto slider = std::dynamic_pointer_cast<PSSliderTableCell>(cell)) {
            double number = 0;
            if (!parseNumber(value, number))
                return error("not a number: " + quoted(value));
            app_.tapRow(r);
            slider->control()->setValue(static_cast<float>(number));
            slider->control()->sendActionsForControlEvents(UIControlEventValueChanged);
            return "ok";
        }
        if (auto text = std::dynamic_pointer_cast<PSEditableTableCell>(cell)) {
            app_.tapRow(r);
            text->textField()->setText("");
            simulateTyping(text->textField().get(), value);
            return "ok";
        }
        if (r->cellType() == PSLinkListCell) {
            std::shared_ptr<PSSpecifier> item;
            for (unsigned long i = 0, n = r->values()->count(); i < n && !item; ++i) {
                const objc::id candidate = r->values()->objectAtIndex(i);
                if (r->titleForValue(candidate) == value || foundation::stringValueOf(candidate) == value) {
                    if (!app_.tapRow(r) || app_.topPage() == page)
                        return error("the choices of " + quoted(w[1]) + " do not open");
                    item = app_.findRow(r->titleForValue(candidate));
                }
            }
            if (!item)
                return error("no choice " + quoted(value) + " for " + quoted(w[1]));
            const bool tapped = app_.tapRow(item);
            app_.rootController()->popController();
            return tapped ? "ok" : error("the choice cannot be tapped");
        }
        return error("row " + quoted(w[1]) + " has no value to set");
    }
    if (command == "back" && w.size() == 1) {
        if (app_.rootController()->controllers().size() < 2)
            return error("no page to go back from");
        return app_.tapView(app_.rootController()->leftButton().get()) ? "ok" : error("no back button");
    }
    if (command == "pick" && w.size() == 2) {
        const auto grid = app_.openGrid();
        if (!grid)
            return error("no colour grid is open");
        if (app_.openAlert())
            return error("an alert covers the colour grid");
        long item = -1;
        const std::string which = lower(w[1]);
        if (!parseIndex(which, item)) {
            const long count = grid->numberOfItemsInSection(0);
            for (long i = 0; i < count && item < 0; ++i) {
                const auto path = NSIndexPath::indexPathForItemInSection(i, 0);
                if (const auto placed = grid->layoutAttributesForItemAtIndexPath(path))
                    grid->setContentOffset(grid->clampedContentOffset({0, placed->frame.origin.y}));
                grid->layoutIfNeeded();
                const auto button = buttonIn(grid->cellForItemAtIndexPath(path));
                if (!button)
                    continue;
                const auto background = button->backgroundColor();
                if ((which == "hex" && lower(button->currentTitle()) == "hex") ||
                    (which == "white" && background && background->isEqual(UIColor::whiteColor().get())) ||
                    (which == "black" && background && background->isEqual(UIColor::blackColor().get())))
                    item = i;
            }
            if (item < 0)
                return error("no item " + quoted(w[1]) + " in the grid");
        }
        return app_.tapGridItem(item) ? "ok" : error("no item " + w[1] + " in the grid");
    }
    if (command == "type" && needs(1)) {
        const auto alert = app_.openAlert();
        if (!alert || alert->textFields().empty())
            return error("no text field is open");
        const auto& field = alert->textFields().front();
        field->setText("");
        simulateTyping(field.get(), rest(w, 1));
        return "ok";
    }
    if (command == "press" && needs(1)) {
        const std::string title = rest(w, 1);
        if (const auto alert = app_.openAlert())
            return alert->invokeActionWithTitle(title) ? "ok" : error("the alert has no button " + quoted(title));
        if (app_.presentedController())
            return error("no button " + quoted(title) + " on screen");
        const auto root = app_.rootController();
        for (const auto& button : {root->leftButton(), root->rightButton()}) {
            const std::string shown = button->currentTitle();
            const bool back = button == root->leftButton() && root->controllers().size() > 1 &&
                              !page->navigationItem()->leftBarButtonItem() && lower(title) == "back";
            if (!button->isHidden() && (shown == title || back))
                return app_.tapView(button.get()) ? "ok" : error("the button cannot be pressed");
        }
        if (const auto r = row(title))
            return app_.tapRow(r) ? "ok" : error("row " + quoted(title) + " cannot be tapped");
        return error("no button " + quoted(title) + " on screen");
    }
    if (command == "name" && w.size() >= 1) {
        for (const auto& step : std::vector<std::vector<std::string>>{{"tap", "Name"}, {"type", rest(w, 1)},
                                                                      {"press", "Save"}}) {
            if (step[0] == "type" && step[1].empty()) {
                if (!app_.openAlert() || app_.openAlert()->textFields().empty())
                    return error("no text field is open");
                app_.openAlert()->textFields().front()->setText("");
                continue;
            }
            if (std::string answer = run(step); answer != "ok")
                return answer;
            PreferencesApp::settle();
        }
        return "ok";
    }
    if (command == "colour" && needs(2)) {
        const auto r = row(w[1]);
        if (!r)
            return error("no row " + quoted(w[1]));
        const std::string how = lower(w[2]);
        const bool typed = how == "hex" && needs(3);
        if (!(how == "white" || how == "black" || typed || (how == "item" && w.size() == 4)))
            return error("colour <row> item <n> | white | black | hex <text>");
        if (!app_.tapRow(r))
            return error("row " + quoted(w[1]) + " cannot be tapped");
        PreferencesApp::settle();
        if (!app_.openGrid())
            return error("row " + quoted(w[1]) + " opens no colour grid");
        if (!typed)
            return run({"pick", how == "item" ? w[3] : how});
        for (const auto& step : std::vector<std::vector<std::string>>{{"pick", "hex"}, {"type", rest(w, 3)},
                                                                      {"press", "Save"}}) {
            if (std::string answer = run(step); answer != "ok")
                return answer;
            PreferencesApp::settle();
        }
        if (const auto alert = app_.openAlert())
            return error(alert->message().empty() ? alert->title() : alert->message());
        return "ok";
    }
    if (command == "restart" && w.size() == 1) {
        if (std::string answer = run({"press", "Respring"}); answer != "ok")
            return answer;
        PreferencesApp::settle();
        return run({"press", "OK"});
    }
    if (command == "snapshot" && w.size() == 2)
        return app_.snapshot(w[1]) ? "ok" : error("cannot write " + quoted(w[1]));
    if (command == "wait" && w.size() == 2) {
        double seconds = 0;
        if (!parseNumber(w[1], seconds) || seconds < 0 || seconds > 3600)
            return error("not a number of seconds: " + quoted(w[1]));
        NSRunLoop::mainRunLoop()->runForSeconds(seconds);
        return "ok";
    }
    if (command == "quit" && w.size() == 1) {
        quit_ = true;
        return "ok";
    }
    return error("unknown command or wrong arguments: " + quoted(w[0]));
}
