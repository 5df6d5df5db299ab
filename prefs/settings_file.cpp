#include "prefs/settings_file.h"

#include "common/support_paths.h"
#include "foundation/device_path.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace vantorel::prefs {

namespace {

const std::string& settingsPath()
{
    static const std::string path(SettingsFile);
    return path;
}

// Moves an unreadable file out of the way without overwriting an earlier one.
bool moveAside(const fs::path& file)
{
    std::error_code failed;
    for (int n = 0; n < 1000; ++n) {
        fs::path backup = file;
        backup += n == 0 ? ".unreadable" : ".unreadable." + std::to_string(n);
        if (fs::symlink_status(backup, failed).type() != fs::file_type::not_found)
            continue;
        fs::rename(file, backup, failed);
        return !failed;
    }
    return false;
}

} // namespace

std::shared_ptr<NSMutableDictionary> readSettingsFile()
{
    auto file = NSMutableDictionary::dictionaryWithContentsOfFile(settingsPath());
    return file ? file : NSMutableDictionary::dictionary();
}

objc::id storedSetting(const std::string& key) { return readSettingsFile()->objectForKey(key); }

bool writeSetting(const std::string& key, const objc::id& value)
{
    auto file = NSMutableDictionary::dictionaryWithContentsOfFile(settingsPath());
    if (!file) {
        const fs::path host = foundation::hostPath(settingsPath());
        std::error_code ignored;
        if (fs::symlink_status(host, ignored).type() != fs::file_type::not_found && !moveAside(host))
            return false;
        file = NSMutableDictionary::dictionary();
    }
    file->setObjectForKey(value, key);
    return file->writeToFileAtomically(settingsPath(), true);
}

} // namespace vantorel::prefs
