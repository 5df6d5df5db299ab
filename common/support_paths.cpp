#include "common/support_paths.h"

namespace vantorel {

std::string localizationFilePath(std::string_view folder)
{
    return std::string(LanguageSupportFolder) + std::string(folder) + "/localization.plist";
}

std::string pluginBundlePath(std::string_view name)
{
    return std::string(PluginsFolder) + std::string(name) + ".bundle";
}

std::string pluginIconPath(std::string_view name)
{
    return pluginBundlePath(name) + "/" + std::string(name) + ".png";
}

bool isSafeFolderName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

} // namespace vantorel
