#include "tweak/core/localization.h"

#include "common/support_paths.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_string.h"
#include "tweak/core/settings.h"

#include <array>
#include <utility>

constinit LocalizedText palString;
constinit LocalizedText stormString;
constinit LocalizedText hurricaneString;
constinit LocalizedText thunderstromString;
constinit LocalizedText snowString;
constinit LocalizedText sleetString;
constinit LocalizedText rainString;
constinit LocalizedText drizzleString;
constinit LocalizedText showersString;
constinit LocalizedText flurriesString;
constinit LocalizedText snowshowersString;
constinit LocalizedText hailString;
constinit LocalizedText dustString;
constinit LocalizedText fogString;
constinit LocalizedText hazeString;
constinit LocalizedText smokeString;
constinit LocalizedText blusterString;
constinit LocalizedText windString;
constinit LocalizedText coldString;
constinit LocalizedText cloudyString;
constinit LocalizedText clearString;
constinit LocalizedText sunnyString;
constinit LocalizedText fairString;
constinit LocalizedText hotString;
constinit LocalizedText snowyString;
constinit LocalizedText notAvString;
constinit LocalizedText morningString;
constinit LocalizedText afternoonString;
constinit LocalizedText eveningString;
constinit LocalizedText nightString;
constinit LocalizedText goneAlertLabel;
constinit LocalizedText goneSleepAlertLabel;
constinit LocalizedText nowString;
constinit LocalizedText itsString;
constinit LocalizedText andString;
constinit LocalizedText currentlyString;

namespace {

// The keys in the order they are read, and the text each fills.
const std::array<std::pair<const char*, LocalizedText*>, 36> kTexts{{
    {"PAL_STRNG", &palString},
    {"STORM_STRNG", &stormString},
    {"HURRICANE_STRNG", &hurricaneString},
    {"THUNDER_STRNG", &thunderstromString},
    {"SNOW_STRNG", &snowString},
    {"SLEET_STRNG", &sleetString},
    {"RAIN_STRNG", &rainString},
    {"DRIZZLE_STRNG", &drizzleString},
    {"SHOWERS_STRNG", &showersString},
    {"SNOWFLURRY_STRNG", &flurriesString},
    {"SNOWSHOWERS_STRNG", &snowshowersString},
    {"HAIL_STRNG", &hailString},
    {"DUST_STRNG", &dustString},
    {"FOG_STRNG", &fogString},
    {"HAZE_STRNG", &hazeString},
    {"SMOKE_STRNG", &smokeString},
    {"BLUSTER_STRNG", &blusterString},
    {"WIND_STRNG", &windString},
    {"COLD_STRNG", &coldString},
    {"CLOUDY_STRNG", &cloudyString},
    {"CLEAR_STRNG", &clearString},
    {"SUNNY_STRNG", &sunnyString},
    {"FAIR_STRNG", &fairString},
    {"HOT_STRNG", &hotString},
    {"SNOWY_STRNG", &snowyString},
    {"NOTAVAIL_STRNG", &notAvString},
    {"MORNING_STRNG", &morningString},
    {"AFTERNOON_STRNG", &afternoonString},
    {"EVENING_STRNG", &eveningString},
    {"NIGHT_STRNG", &nightString},
    {"GNAL_STRNG", &goneAlertLabel},
    {"GNSLAL_STRNG", &goneSleepAlertLabel},
    {"NOW_STRNG", &nowString},
    {"ITS_STRNG", &itsString},
    {"AND_STRNG", &andString},
    {"CURRENTLY_STRNG", &currentlyString},
}};

LocalizedText composeGreeting(const LocalizedText& word, const std::string& name)
{
    // "%@, %@." with the name inserted as plain text: a "%@" inside it stays as it is.
    return textOrEmpty(word) + ", " + name + ".";
}

} // namespace

void generateLocalizations()
{
    using namespace vantorel;
    std::shared_ptr<NSDictionary> table;
    // A folder name that could leave the language folder names no language.
    if (isSafeFolderName(settings.localizationFolder))
        table = NSDictionary::dictionaryWithContentsOfFile(localizationFilePath(settings.localizationFolder));

    for (auto& [key, text] : kTexts) {
        auto value = table ? std::dynamic_pointer_cast<NSString>(table->objectForKey(key)) : nullptr;
        *text = value ? LocalizedText(value->string()) : std::nullopt;
    }

    if (settings.nameIsDefault)
        settings.Name = palString;
    const std::string name = textOrEmpty(settings.Name);
    for (LocalizedText* greeting : {&morningString, &afternoonString, &eveningString, &nightString})
        *greeting = composeGreeting(*greeting, name);
}

const LocalizedText& conditionWordForCode(long code)
{
    // Unsigned comparison: negative codes are outside the table too.
    if (static_cast<unsigned long>(code) > 47)
        return notAvString;
    static const std::array<const LocalizedText*, 48> table{
        &notAvString,        // 0
        &stormString,        // 1
        &hurricaneString,    // 2
        &thunderstromString, // 3
        &thunderstromString, // 4
        &snowString,         // 5
        &sleetString,        // 6
        &sleetString,        // 7
        &rainString,         // 8
        &drizzleString,      // 9
        &rainString,         // 10
        &showersString,      // 11
        &showersString,      // 12
        &flurriesString,     // 13
        &snowshowersString,  // 14
        &snowString,         // 15
        &snowString,         // 16
        &hailString,         // 17
        &sleetString,        // 18
        &dustString,         // 19
        &fogString,          // 20
        &hazeString,         // 21
        &smokeString,        // 22
        &blusterString,      // 23
        &windString,         // 24
        &coldString,         // 25
        &cloudyString,       // 26
        &cloudyString,       // 27
        &cloudyString,       // 28
        &cloudyString,       // 29
        &cloudyString,       // 30
        &clearString,        // 31
        &sunnyString,        // 32
        &fairString,         // 33
        &fairString,         // 34
        &hailString,         // 35
        &hotString,          // 36
        &thunderstromString, // 37
        &thunderstromString, // 38
        &thunderstromString, // 39
        &showersString,      // 40
        &snowyString,        // 41
        &snowyString,        // 42
        &snowyString,        // 43
        &cloudyString,       // 44
        &thunderstromString, // 45
        &snowyString,        // 46
        &thunderstromString, // 47
    };
    return *table[static_cast<std::size_t>(code)];
}
