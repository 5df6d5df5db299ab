#include "foundation/ns_file_manager.h"

#include "foundation/confined_path.h"
#include "foundation/ns_array.h"
#include "foundation/ns_string.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

std::shared_ptr<NSFileManager> NSFileManager::defaultManager()
{
    static const auto manager = std::make_shared<NSFileManager>();
    return manager;
}

std::shared_ptr<NSArray> NSFileManager::contentsOfDirectoryAtPath(std::string_view devicePath) const
{
    const std::string host = foundation::confinedHostPath(devicePath);
    std::error_code error;
    if (host.empty() || !fs::is_directory(host, error))
        return nullptr;
    std::vector<std::string> names;
    for (fs::directory_iterator it(host, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    if (error)
        return nullptr;
    std::sort(names.begin(), names.end());
    std::vector<objc::id> entries;
    entries.reserve(names.size());
    for (auto& name : names)
        entries.push_back(NSStr(std::move(name)));
    return NSArray::arrayWithObjects(std::move(entries));
}

bool NSFileManager::fileExistsAtPath(std::string_view devicePath) const
{
    return fileExistsAtPathIsDirectory(devicePath, nullptr);
}

bool NSFileManager::fileExistsAtPath(const std::shared_ptr<NSString>& devicePath) const
{
    return devicePath && fileExistsAtPath(std::string_view(devicePath->string()));
}

bool NSFileManager::fileExistsAtPathIsDirectory(std::string_view devicePath, bool* isDirectory) const
{
    if (isDirectory)
        *isDirectory = false;
    const std::string host = foundation::confinedHostPath(devicePath);
    std::error_code error;
    const fs::file_status status = host.empty() ? fs::file_status() : fs::status(host, error);
    if (error || !fs::exists(status))
        return false;
    if (isDirectory)
        *isDirectory = fs::is_directory(status);
    return true;
}

bool NSFileManager::createDirectoryAtPath(std::string_view devicePath, bool withIntermediateDirectories) const
{
    const std::string host = foundation::confinedHostPath(devicePath);
    if (host.empty())
        return false;
    std::error_code error;
    if (withIntermediateDirectories) {
        fs::create_directories(host, error);
        return !error && fs::is_directory(host, error);
    }
    return fs::create_directory(host, error) && !error;
}

bool NSFileManager::removeItemAtPath(std::string_view devicePath) const
{
    const std::string normal = foundation::normalizedDevicePath(devicePath);
    if (normal.empty() || normal == "/")
        return false;
    std::error_code error;
    const auto removed = fs::remove_all(foundation::confinedHostPath(normal), error);
    return !error && removed > 0;
}

OBJC_REGISTER(NSFileManager,
    c.classMethod<&NSFileManager::defaultManager>("defaultManager");
    c.method<static_cast<bool (NSFileManager::*)(const std::shared_ptr<NSString>&) const>(
        &NSFileManager::fileExistsAtPath)>("fileExistsAtPath:");)
