// The words of the dashboard's sentences, read from the chosen language's localization.plist
// once at start-up. An absent text (missing file or key) is nullopt and shows as an empty
// string where a sentence uses it.
#pragma once

#include <optional>
#include <string>

using LocalizedText = std::optional<std::string>;

extern LocalizedText palString;
extern LocalizedText stormString;
extern LocalizedText hurricaneString;
extern LocalizedText thunderstromString;
extern LocalizedText snowString;
extern LocalizedText sleetString;
extern LocalizedText rainString;
extern LocalizedText drizzleString;
extern LocalizedText showersString;
extern LocalizedText flurriesString;
extern LocalizedText snowshowersString;
extern LocalizedText hailString;
extern LocalizedText dustString;
extern LocalizedText fogString;
extern LocalizedText hazeString;
extern LocalizedText smokeString;
extern LocalizedText blusterString;
extern LocalizedText windString;
extern LocalizedText coldString;
extern LocalizedText cloudyString;
extern LocalizedText clearString;
extern LocalizedText sunnyString;
extern LocalizedText fairString;
extern LocalizedText hotString;
extern LocalizedText snowyString;
extern LocalizedText notAvString;
// The four greetings, composed "<greeting word>, <name>." once at start-up.
extern LocalizedText morningString;
extern LocalizedText afternoonString;
extern LocalizedText eveningString;
extern LocalizedText nightString;
extern LocalizedText goneAlertLabel;
extern LocalizedText goneSleepAlertLabel;
extern LocalizedText nowString;
extern LocalizedText itsString;
extern LocalizedText andString;
extern LocalizedText currentlyString;

// Reads the file of the "localizationFolder" setting and sets every text; composes the
// greetings with the "Name" setting (the PAL_STRNG text when the file has no name).
void generateLocalizations();

// The text, or "" when it is absent.
inline const std::string& textOrEmpty(const LocalizedText& text)
{
    static const std::string empty;
    return text ? *text : empty;
}

// The condition word for a weather condition code; notAvString outside 0..47.
const LocalizedText& conditionWordForCode(long code);
