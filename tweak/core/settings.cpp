#include "tweak/core/settings.h"

#include "common/hex_colors.h"
#include "common/support_paths.h"
#include "foundation/ns_bundle.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_number.h"
#include "foundation/ns_string.h"
#include "tweak/core/localization.h"
#include "uikit/color.h"
#include "uikit/image.h"

#include <algorithm>
#include <cctype>

namespace vantorel {

#if defined(__clang__)
// clang cannot make a std::string in a constant expression yet: the settings are then made by a
// dynamic initialiser that runs before the library's others, the start-up among them.
[[gnu::init_priority(101)]] Settings settings;
#else
constinit Settings settings;
#endif

namespace {

// A value of the wrong kind under a key counts as absent: the key takes its default.
std::optional<std::string> stringSetting(const std::shared_ptr<NSDictionary>& file, const std::string& key)
{
    if (auto text = std::dynamic_pointer_cast<NSString>(file->objectForKey(key)))
        return text->string();
    return std::nullopt;
}

std::optional<bool> boolSetting(const std::shared_ptr<NSDictionary>& file, const std::string& key)
{
    objc::id value = file->objectForKey(key);
    if (auto number = std::dynamic_pointer_cast<NSNumber>(value))
        return number->boolValue();
    if (auto text = std::dynamic_pointer_cast<NSString>(value)) {
        std::string word = text->string();
        std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::tolower(c); });
        if (word == "yes" || word == "true" || word == "1")
            return true;
        if (word == "no" || word == "false" || word == "0")
            return false;
    }
    return std::nullopt;
}

std::optional<float> floatSetting(const std::shared_ptr<NSDictionary>& file, const std::string& key)
{
    objc::id value = file->objectForKey(key);
    if (auto number = std::dynamic_pointer_cast<NSNumber>(value); number && !number->isBool())
        return number->floatValue();
    if (auto text = std::dynamic_pointer_cast<NSString>(value))
        return text->floatValue();
    return std::nullopt;
}

void loadSelectedWidget(const std::string& name)
{
    settings.selectedWidgetClass = nullptr;
    settings.selectedWidgetIcon = nullptr;
    // The name comes from a user-writable file and is pasted into a path that code is loaded
    // from: a name that could leave the plug-ins folder names no plug-in.
    if (!isSafeFolderName(name))
        return;
    if (auto bundle = NSBundle::bundleWithPath(pluginBundlePath(name))) {
        bundle->load();
        settings.selectedWidgetClass = bundle->principalClass();
    }
    settings.selectedWidgetIcon = UIImage::imageWithContentsOfFile(pluginIconPath(name));
}

} // namespace

std::shared_ptr<NSDictionary> readSettingsFile()
{
    auto file = NSDictionary::dictionaryWithContentsOfFile(std::string(SettingsFile));
    return file ? file : std::make_shared<NSDictionary>();
}

std::shared_ptr<UIColor> settingColor(const std::shared_ptr<NSDictionary>& file, const std::string& key)
{
    if (auto hex = stringSetting(file, key))
        return HexColors::colorWithHexString(*hex);
    return UIColor::whiteColor();
}

} // namespace vantorel

void loadSettings(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    using namespace vantorel;
    const auto file = readSettingsFile();

    if (auto name = stringSetting(file, "Name")) {
        settings.Name = std::move(name);
        settings.nameIsDefault = false;
    } else {
        settings.Name = palString;
        settings.nameIsDefault = true;
    }
    settings.textColor = settingColor(file, "textColor");
    settings.glyphColor = settingColor(file, "glyphColor");
    settings.backgroundBlurColor = settingColor(file, "backgroundBlurColor");
    settings.backgroundBlurAlpha = static_cast<double>(floatSetting(file, "backgroundBlurAlpha").value_or(0.2f));
    settings.removeNW = boolSetting(file, "removeNW").value_or(false);
    settings.morningStart = stringSetting(file, "morningStart").value_or("06:00");
    settings.afternoonStart = stringSetting(file, "afternoonStart").value_or("12:00");
    settings.eveningStart = stringSetting(file, "eveningStart").value_or("18:00");
    settings.nightStart = stringSetting(file, "nightStart").value_or("22:00");
    settings.localizationFolder = stringSetting(file, "localizationFolder").value_or("English");
    settings.enabled = boolSetting(file, "enabled").value_or(true);
    settings.blurEnabled = boolSetting(file, "blurEnabled").value_or(false);
    settings.allWidgets = boolSetting(file, "allWidgets").value_or(false);

    // In all-widgets mode the user picks on the lock screen; the last selection stays.
    if (settings.allWidgets)
        return;
    settings.SelectedWidget = stringSetting(file, "SelectedWidget").value_or("Calendar");
    loadSelectedWidget(settings.SelectedWidget);
}
