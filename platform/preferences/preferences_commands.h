// The Settings application's text interface for the simulated device: one command per line, one
// answer line per command, "ok" (with what was asked for) or "error <why>" (nothing changed by
// the failed step). A row is named by its title, its "keyLabel", its settings key or its
// identifier, letter case ignored; names and texts with spaces go in double quotes.
//
//   rows                          every row of the page: ok [{"row":..,"key":..,"value":..}, ...]
//   value <row>                   ok "<what the row shows>"
//   state                         ok page=".." left=".." right=".." alert=".." message=".."
//                                 picker=0|1 opened=".." (the last address opened)
//   tap <row>                     taps the row (scrolled into view first)
//   toggle <row>                  taps the row's switch
//   set <row> <value>             switch: on|off; choice: a title or a value (its page opens,
//                                 the item is tapped, the page closes); slider: a number;
//                                 text row: the text
//   back                          closes a choice page
//   pick <item>                   taps an item of the open colour grid: its number (0 first),
//                                 white, black or hex (the "Hex" button)
//   type <text>                   replaces the text of the open alert's field
//   press <title>                 presses the open alert's button of that title, else the
//                                 navigation bar's button ("Back" for the back button), else
//                                 taps the row of that title
//   name <text>                   taps "Name", types the text, presses "Save"
//   colour <row> item <n> | white | black | hex <text>
//                                 opens the row's colour grid and picks, or types a hex value
//                                 and presses "Save"
//   restart                       presses "Respring", then "OK"
//   snapshot <host path>          writes a PNG of the screen
//   wait <seconds>                lets the run loop run that long
//   quit                          ends the application (after the answer)
//
// After every command the run loop runs until nothing more is ready, so what a tap schedules
// for the next pass (the colour grid appearing) has happened before the answer.
#pragma once

#include <string>
#include <vector>

class PreferencesApp;

class PreferencesCommands {
public:
    explicit PreferencesCommands(PreferencesApp& app) : app_(app) {}

    // Runs one command line and answers it.
    std::string execute(const std::string& line);
    bool quitRequested() const { return quit_; }

    // Splits a line into words; "..." keeps spaces (\" and \\ inside quotes stand for " and \).
    // False for a line with an unterminated quote.
    static bool split(const std::string& line, std::vector<std::string>& words);

private:
    std::string run(const std::vector<std::string>& words);

    PreferencesApp& app_;
    bool quit_ = false;
};
