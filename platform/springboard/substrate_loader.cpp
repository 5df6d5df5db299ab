#include "springboard/substrate_loader.h"

#include "foundation/device_path.h"
#include "foundation/ns_array.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_string.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>

namespace springboard {

namespace {

bool listNames(const std::shared_ptr<NSDictionary>& filter, const char* key, const std::string& name)
{
    auto list = std::dynamic_pointer_cast<NSArray>(filter->objectForKey(key));
    if (!list || name.empty())
        return false;
    return std::any_of(list->begin(), list->end(), [&](const objc::id& value) {
        auto text = std::dynamic_pointer_cast<NSString>(value);
        return text && text->string() == name;
    });
}

} // namespace

bool substrateFilterMatches(const std::string& filterDevicePath, const std::string& bundleIdentifier,
                            const std::string& executableName)
{
    auto root = NSDictionary::dictionaryWithContentsOfFile(filterDevicePath);
    auto filter = root ? std::dynamic_pointer_cast<NSDictionary>(root->objectForKey("Filter")) : nullptr;
    if (!filter)
        return false;
    return listNames(filter, "Bundles", bundleIdentifier) || listNames(filter, "Executables", executableName);
}

std::vector<SubstrateLoadResult> loadSubstrateLibraries(const std::string& bundleIdentifier,
                                                        const std::string& executableName)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(foundation::hostPath(kSubstrateLibrariesFolder), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() > 6 && name.ends_with(".dylib") && !it->is_directory(error))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());

    std::vector<SubstrateLoadResult> results;
    for (const auto& name : names) {
        SubstrateLoadResult result;
        result.devicePath = std::string(kSubstrateLibrariesFolder) + name;
        const std::string filter = std::string(kSubstrateLibrariesFolder) + name.substr(0, name.size() - 6) + ".plist";
        if (!fs::exists(foundation::hostPath(filter), error)) {
            result.reason = "no filter";
        } else if (!substrateFilterMatches(filter, bundleIdentifier, executableName)) {
            result.reason = "filter does not name this process";
        } else if (!::dlopen(foundation::hostPath(result.devicePath).c_str(), RTLD_NOW | RTLD_GLOBAL)) {
            const char* why = ::dlerror();
            result.reason = why ? why : "cannot be loaded";
        } else {
            result.loaded = true;
        }
        results.push_back(std::move(result));
    }
    return results;
}

} // namespace springboard
