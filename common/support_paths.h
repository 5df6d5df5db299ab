// Where the system's shared files live on the device. Every deliverable that reads or writes
// one of them takes its path from here.
#pragma once

#include <string>
#include <string_view>

namespace vantorel {

// The settings domain shared by the tweak library and the preference bundle.
inline constexpr std::string_view SettingsDomain = "com.vantorel.prefs";
inline constexpr std::string_view SettingsFile = "/User/Library/Preferences/com.vantorel.prefs.plist";

inline constexpr std::string_view SupportFolder = "/Library/Application Support/Vantorel/";
inline constexpr std::string_view CityFile = "/Library/Application Support/Vantorel/City.plist";
inline constexpr std::string_view LanguageSupportFolder = "/Library/Application Support/Vantorel/Language Support/";
inline constexpr std::string_view PluginsFolder = "/Library/Application Support/Vantorel/Plugins/";
inline constexpr std::string_view WidgetsPicture = "/Library/Application Support/Vantorel/Widgets.png";
inline constexpr std::string_view NotificationPicture = "/Library/Application Support/Vantorel/Notification.png";
inline constexpr std::string_view BadgePicture = "/Library/Application Support/Vantorel/Badge.png";

// "/Library/Application Support/Vantorel/Language Support/%@/localization.plist"
std::string localizationFilePath(std::string_view folder);
// "/Library/Application Support/Vantorel/Plugins/%@.bundle"
std::string pluginBundlePath(std::string_view name);
// "/Library/Application Support/Vantorel/Plugins/%@.bundle/%@.png"
std::string pluginIconPath(std::string_view name);

// A folder or plug-in name read from the user-writable settings file is pasted into paths
// that code and data are loaded from; a name that could leave its folder ("/" inside, ".",
// "..", or empty) names nothing.
bool isSafeFolderName(std::string_view name);

} // namespace vantorel
