#include "foundation/ns_bundle.h"

#include "foundation/confined_path.h"
#include "foundation/loader.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_file_manager.h"
#include "foundation/ns_string.h"

#include <dlfcn.h>
#include <link.h>
#include <mutex>
#include <unordered_map>

namespace {

std::mutex& cacheLock()
{
    static std::mutex lock;
    return lock;
}

std::unordered_map<std::string, std::shared_ptr<NSBundle>>& cache()
{
    static auto* bundles = new std::unordered_map<std::string, std::shared_ptr<NSBundle>>; // kept to the end
    return *bundles;
}

std::string infoString(const NSBundle& bundle, std::string_view key)
{
    auto text = std::dynamic_pointer_cast<NSString>(bundle.objectForInfoDictionaryKey(key));
    return text ? text->string() : std::string();
}

// A single path component that stays where it is put.
bool isPlainFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// The file name the loader records for a loaded object, which is what the runtime stores as
// the image of the classes it registers (the first path it was loaded by, for a file that was
// already loaded under another name).
std::string loadedImageName(void* handle)
{
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name)
        return map->l_name;
    return {};
}

} // namespace

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(std::string_view devicePath)
{
    const std::string path = foundation::normalizedDevicePath(devicePath);
    bool isDirectory = false;
    if (path.empty() || !NSFileManager::defaultManager()->fileExistsAtPathIsDirectory(path, &isDirectory) || !isDirectory)
        return nullptr;
    // Keyed by host path: a process that moves to another device root (a test) gets fresh
    // bundles; on one device the two keys are the same.
    const std::string key = foundation::confinedHostPath(path);
    std::lock_guard guard(cacheLock());
    auto& bundles = cache();
    if (auto found = bundles.find(key); found != bundles.end())
        return found->second;
    auto bundle = std::make_shared<NSBundle>();
    bundle->path_ = path;
    bundle->info_ = NSDictionary::dictionaryWithContentsOfFile(path + "/Info.plist");
    if (!bundle->info_)
        bundle->info_ = NSDictionary::dictionary();
    bundles.emplace(key, bundle);
    return bundle;
}

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(const std::shared_ptr<NSString>& devicePath)
{
    return devicePath ? bundleWithPath(std::string_view(devicePath->string())) : nullptr;
}

std::string NSBundle::executablePath() const
{
    std::string name = infoString(*this, "CFBundleExecutable");
    if (name.empty() && !info_->objectForKey("CFBundleExecutable"))
        name = NSStr(path_)->lastPathComponent()->stringByDeletingPathExtension()->string();
    return isPlainFileName(name) ? path_ + "/" + name : std::string();
}

bool NSBundle::load()
{
    if (handle_)
        return true;
    const std::string executable = executablePath();
    if (executable.empty())
        return false;
    void* handle = foundation::dlopen(executable.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!handle)
        return false;
    handle_ = handle;
    image_ = loadedImageName(handle);
    return true;
}

objc::Class NSBundle::principalClass()
{
    if (!load())
        return nullptr;
    const std::string named = infoString(*this, "NSPrincipalClass");
    if (objc::Class cls = named.empty() ? nullptr : objc::objc_getClass(named))
        return cls;
    const std::vector<std::string> registered = objc::objc_copyClassNamesForImage(image_);
    return registered.empty() ? nullptr : objc::objc_getClass(registered.front());
}

objc::id NSBundle::objectForInfoDictionaryKey(std::string_view key) const { return info_ ? info_->objectForKey(key) : nullptr; }

objc::id NSBundle::objectForInfoDictionaryKey(const std::shared_ptr<NSString>& key) const
{
    return key ? objectForInfoDictionaryKey(std::string_view(key->string())) : nullptr;
}

std::string NSBundle::pathForResourceOfType(std::string_view name, std::string_view type) const
{
    while (type.starts_with('.'))
        type.remove_prefix(1);
    const std::string file = type.empty() ? std::string(name) : std::string(name) + "." + std::string(type);
    if (!isPlainFileName(file))
        return {};
    auto manager = NSFileManager::defaultManager();
    for (const std::string& folder : {path_, path_ + "/Resources"}) {
        const std::string candidate = folder + "/" + file;
        bool isDirectory = false;
        if (manager->fileExistsAtPathIsDirectory(candidate, &isDirectory) && !isDirectory)
            return candidate;
    }
    return {};
}

namespace {
using StringArg = const std::shared_ptr<NSString>&;
}

OBJC_REGISTER(NSBundle,
    c.classMethod<static_cast<std::shared_ptr<NSBundle> (*)(StringArg)>(&NSBundle::bundleWithPath)>("bundleWithPath:");
    c.method<&NSBundle::load>("load");
    c.method<&NSBundle::isLoaded>("isLoaded");
    c.method<&NSBundle::principalClass>("principalClass");
    c.method<&NSBundle::infoDictionary>("infoDictionary");
    c.method<static_cast<objc::id (NSBundle::*)(StringArg) const>(&NSBundle::objectForInfoDictionaryKey)>(
        "objectForInfoDictionaryKey:");)
