// NSBundle: a folder with an Info.plist and, for loadable bundles, an executable that is
// dlopened on demand and registers its classes with the runtime when loaded.
//
// There is one bundle object per folder for the life of the process (the cache holds them
// strongly), and loaded code is never unloaded: the runtime's classes point into it.
#pragma once

#include "objc/objc.h"

#include <memory>
#include <string>
#include <string_view>

class NSDictionary;
class NSString;

class NSBundle : public objc::Object {
    OBJC_CLASS(NSBundle, objc::Object)
public:
    NSBundle() = default;

    // The bundle for the folder at the device path; nil, silently, when there is no such
    // folder. Info.plist is read when the bundle is first made.
    static std::shared_ptr<NSBundle> bundleWithPath(std::string_view devicePath);
    static std::shared_ptr<NSBundle> bundleWithPath(const std::shared_ptr<NSString>& devicePath);

    // dlopens the executable named by "CFBundleExecutable" (the folder's name without its
    // extension when the key is absent) with RTLD_NOW | RTLD_GLOBAL. True once loaded, also on
    // later calls; false, silently, when the executable is missing or does not load (a later
    // call tries again).
    bool load();
    bool isLoaded() const { return handle_ != nullptr; }
    // Loads the bundle if needed, then: the class named by "NSPrincipalClass" when the runtime
    // has it, else the first class the executable registered, else nil.
    objc::Class principalClass();

    // The normalised device path of the folder.
    const std::string& bundlePath() const { return path_; }
    // Device path of the executable; empty when Info.plist names none that is a plain file name.
    std::string executablePath() const;
    // The Info.plist contents; an empty dictionary when it is missing or unreadable.
    std::shared_ptr<NSDictionary> infoDictionary() const { return info_; }
    objc::id objectForInfoDictionaryKey(std::string_view key) const;
    objc::id objectForInfoDictionaryKey(const std::shared_ptr<NSString>& key) const;
    // Device path of "<name>.<type>" in the bundle folder or its Resources folder; empty when
    // there is none, or when the name or type would reach outside the bundle.
    std::string pathForResourceOfType(std::string_view name, std::string_view type) const;

    std::string description() const override { return "NSBundle <" + path_ + ">"; }

private:
    std::string path_;
    std::shared_ptr<NSDictionary> info_;
    void* handle_ = nullptr;
    std::string image_; // the executable's name as the runtime records its classes' image
};
