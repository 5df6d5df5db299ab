// The user's settings inside the host: one process-wide value per key of the settings file,
// replaced whole by loadSettings at start-up and on every "loadVantorelS".
#pragma once

#include "foundation/notification_center.h"
#include "objc/objc.h"

#include <memory>
#include <optional>
#include <string>

class NSDictionary;
class UIColor;
class UIImage;

namespace vantorel {

struct Settings {
    // "Name": the user's name. When the file has none it is the PAL_STRNG text, and
    // nameIsDefault says so (the greetings then use the text read at start-up).
    std::optional<std::string> Name;
    bool nameIsDefault = false;
    std::shared_ptr<UIColor> textColor;           // nil when the stored string does not parse
    std::shared_ptr<UIColor> glyphColor;
    std::shared_ptr<UIColor> backgroundBlurColor;
    double backgroundBlurAlpha = 0;               // single-precision value, widened
    bool removeNW = false;
    std::string morningStart;                     // "HH:mm" as stored (reduced to "HH" on first use)
    std::string afternoonStart;
    std::string eveningStart;
    std::string nightStart;
    std::string localizationFolder;
    bool enabled = false;
    bool blurEnabled = false;
    bool allWidgets = false;
    std::string SelectedWidget;
    // Derived from SelectedWidget when allWidgets is off: the plug-in bundle's principal class
    // and its icon.
    objc::Class selectedWidgetClass = nullptr;
    std::shared_ptr<UIImage> selectedWidgetIcon;
};

// Empty (nil, false, 0) until the first loadSettings.
extern Settings settings;

// The settings file as a dictionary; an empty one when it is missing or unreadable.
std::shared_ptr<NSDictionary> readSettingsFile();
// The colour stored under the key: white when the key is absent or holds no string; nil when
// the string is not a six-digit hex colour.
std::shared_ptr<UIColor> settingColor(const std::shared_ptr<NSDictionary>& file, const std::string& key);

} // namespace vantorel

// Reads the settings file and replaces every value. Shaped as a Darwin-notification callback
// (all arguments ignored) so that it can observe "loadVantorelS".
void loadSettings(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object,
                  CFDictionaryRef userInfo);
inline void loadSettings() { loadSettings(nullptr, nullptr, nullptr, nullptr, nullptr); }
