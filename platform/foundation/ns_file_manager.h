// NSFileManager: the device's file system, by device path (mapped under the device root).
#pragma once

#include "objc/objc.h"

#include <memory>
#include <string_view>

class NSArray;
class NSString;

class NSFileManager : public objc::Object {
    OBJC_CLASS(NSFileManager, objc::Object)
public:
    static std::shared_ptr<NSFileManager> defaultManager();

    // The entry names of a folder (NSString, without "." and ".."), sorted by name byte by byte
    // so that every listing of the same folder has the same order; nil when the path is
    // missing or not a folder.
    std::shared_ptr<NSArray> contentsOfDirectoryAtPath(std::string_view devicePath) const;
    // Symbolic links are followed: a dangling link does not exist.
    bool fileExistsAtPath(std::string_view devicePath) const;
    bool fileExistsAtPath(const std::shared_ptr<NSString>& devicePath) const;
    bool fileExistsAtPathIsDirectory(std::string_view devicePath, bool* isDirectory) const;
    // Without intermediate folders the parent must exist and the folder must not; with them,
    // an existing folder is success. False when a file is in the way.
    bool createDirectoryAtPath(std::string_view devicePath, bool withIntermediateDirectories) const;
    // Removes a file or a folder with everything inside; false when nothing was there. The
    // device root itself is never removed.
    bool removeItemAtPath(std::string_view devicePath) const;
};
