// A library that the reliability tests inject into the real host after the Vantorel library (its
// file name sorts after it). It writes what the library made of its input files to
// "/var/tmp/SettingsProbe.txt" in the device root: once at start-up, after the library's own
// start, and again after each "loadVantorelS" (its observer comes after the library's). One
// "key=value" line per setting and per language text, led by "dump=<n>"; a text shows as
// "<length>:<its first 24 bytes>" (a setting held as text too), an absent one as "<absent>". The
// file is replaced whole, so a reader never sees half of one.
#include "foundation/device_path.h"
#include "foundation/notification_center.h"
#include "objc/objc.h"
#include "tweak/core/localization.h"
#include "tweak/core/settings.h"
#include "uikit/color.h"
#include "uikit/image.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace {

std::string shown(const std::string& text) { return std::to_string(text.size()) + ":" + text.substr(0, 24); }
std::string shown(const LocalizedText& text) { return text ? shown(*text) : "<absent>"; }
std::string shown(const std::shared_ptr<UIColor>& colour) { return colour ? colour->description() : "<nil>"; }

void dump(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    using vantorel::settings;
    static int dumps = 0;
    std::ostringstream out;
    out << "dump=" << ++dumps << "\n";
    out << "Name=" << shown(settings.Name) << "\n";
    out << "textColor=" << shown(settings.textColor) << "\n";
    out << "glyphColor=" << shown(settings.glyphColor) << "\n";
    out << "backgroundBlurColor=" << shown(settings.backgroundBlurColor) << "\n";
    char alpha[32];
    std::snprintf(alpha, sizeof alpha, "%.9g", settings.backgroundBlurAlpha);
    out << "backgroundBlurAlpha=" << alpha << "\n";
    out << "removeNW=" << settings.removeNW << "\n";
    out << "morningStart=" << shown(settings.morningStart) << "\n";
    out << "afternoonStart=" << shown(settings.afternoonStart) << "\n";
    out << "eveningStart=" << shown(settings.eveningStart) << "\n";
    out << "nightStart=" << shown(settings.nightStart) << "\n";
    out << "localizationFolder=" << shown(settings.localizationFolder) << "\n";
    out << "enabled=" << settings.enabled << "\n";
    out << "blurEnabled=" << settings.blurEnabled << "\n";
    out << "allWidgets=" << settings.allWidgets << "\n";
    out << "SelectedWidget=" << shown(settings.SelectedWidget) << "\n";
    out << "selectedWidgetClass="
        << (settings.selectedWidgetClass ? objc::class_getName(settings.selectedWidgetClass) : "<nil>") << "\n";
    out << "selectedWidgetIcon=" << (settings.selectedWidgetIcon ? "yes" : "<nil>") << "\n";
    const std::pair<const char*, const LocalizedText*> texts[] = {
        {"PAL_STRNG", &palString}, {"STORM_STRNG", &stormString}, {"HURRICANE_STRNG", &hurricaneString},
        {"THUNDER_STRNG", &thunderstromString}, {"SNOW_STRNG", &snowString}, {"SLEET_STRNG", &sleetString},
        {"RAIN_STRNG", &rainString}, {"DRIZZLE_STRNG", &drizzleString}, {"SHOWERS_STRNG", &showersString},
        {"SNOWFLURRY_STRNG", &flurriesString}, {"SNOWSHOWERS_STRNG", &snowshowersString}, {"HAIL_STRNG", &hailString},
        {"DUST_STRNG", &dustString}, {"FOG_STRNG", &fogString}, {"HAZE_STRNG", &hazeString},
        {"SMOKE_STRNG", &smokeString}, {"BLUSTER_STRNG", &blusterString}, {"WIND_STRNG", &windString},
        {"COLD_STRNG", &coldString}, {"CLOUDY_STRNG", &cloudyString}, {"CLEAR_STRNG", &clearString},
        {"SUNNY_STRNG", &sunnyString}, {"FAIR_STRNG", &fairString}, {"HOT_STRNG", &hotString},
        {"SNOWY_STRNG", &snowyString}, {"NOTAVAIL_STRNG", &notAvString}, {"MORNING_STRNG", &morningString},
        {"AFTERNOON_STRNG", &afternoonString}, {"EVENING_STRNG", &eveningString}, {"NIGHT_STRNG", &nightString},
        {"GNAL_STRNG", &goneAlertLabel}, {"GNSLAL_STRNG", &goneSleepAlertLabel}, {"NOW_STRNG", &nowString},
        {"ITS_STRNG", &itsString}, {"AND_STRNG", &andString}, {"CURRENTLY_STRNG", &currentlyString},
    };
    for (const auto& [key, text] : texts)
        out << key << "=" << shown(*text) << "\n";

    const std::filesystem::path file = foundation::hostPath("/var/tmp/SettingsProbe.txt");
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    const std::filesystem::path written = file.string() + ".new";
    std::ofstream(written) << out.str();
    std::filesystem::rename(written, file, ignored);
}

[[gnu::constructor]] void probeStarted()
{
    dump(nullptr, nullptr, nullptr, nullptr, nullptr);
    static int observer;
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &observer, &dump,
                                    CFSTR("loadVantorelS"), nullptr, 0);
}

} // namespace
