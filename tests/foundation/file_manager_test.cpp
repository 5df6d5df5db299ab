#include "foundation/loader.h"
#include "foundation/ns_array.h"
#include "foundation/ns_file_manager.h"
#include "foundation/ns_string.h"
#include "support/device_root.h"
#include "support/support.h"

#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>

using objc::operator""_sel;

namespace {

constexpr const char* kLanguages = "/Library/Application Support/Vantorel/Language Support";

std::vector<std::string> names(const std::shared_ptr<NSArray>& array)
{
    std::vector<std::string> result;
    for (const objc::id& o : *array)
        result.push_back(std::dynamic_pointer_cast<NSString>(o)->string());
    return result;
}

class DataFileSystem : public testsupport::DeviceRootTest {
protected:
    std::shared_ptr<NSFileManager> files = NSFileManager::defaultManager();
};

} // namespace

TEST_F(DataFileSystem, FolderListingIsSortedByNameAndTellsFoldersFromFiles)
{
    const std::string root = kLanguages;
    device.makeFolder(root + "/English");
    device.makeFolder(root + "/Deutsch");
    device.makeFolder(root + "/.hidden");
    device.writeFile(root + "/README", "plain file");
    device.makeFolder(root + "/Zulu");

    auto entries = files->contentsOfDirectoryAtPath(root);
    ASSERT_TRUE(entries);
    EXPECT_EQ(names(entries), (std::vector<std::string>{".hidden", "Deutsch", "English", "README", "Zulu"}));
    // Listing again gives the same order.
    EXPECT_TRUE(files->contentsOfDirectoryAtPath(root + "/")->isEqual(entries.get()));

    std::vector<std::string> folders;
    for (const std::string& name : names(entries)) {
        bool isDirectory = true;
        ASSERT_TRUE(files->fileExistsAtPathIsDirectory(root + "/" + name, &isDirectory));
        if (isDirectory)
            folders.push_back(name);
    }
    EXPECT_EQ(folders, (std::vector<std::string>{".hidden", "Deutsch", "English", "Zulu"}));

    bool isDirectory = true;
    EXPECT_FALSE(files->fileExistsAtPathIsDirectory(root + "/Klingon", &isDirectory));
    EXPECT_FALSE(isDirectory);
    EXPECT_FALSE(files->contentsOfDirectoryAtPath(root + "/README"));
    EXPECT_FALSE(files->contentsOfDirectoryAtPath("/Library/Missing"));
    EXPECT_FALSE(files->contentsOfDirectoryAtPath(""));
    device.makeFolder("/Library/Empty");
    EXPECT_EQ(files->contentsOfDirectoryAtPath("/Library/Empty")->count(), 0u);
}

TEST_F(DataFileSystem, ExistenceFollowsLinksAndPathsStayInsideTheDeviceRoot)
{
    device.writeFile("/Library/file", "x");
    EXPECT_TRUE(files->fileExistsAtPath("/Library/file"));
    EXPECT_TRUE(files->fileExistsAtPath(NSStr("/Library/file")));
    EXPECT_TRUE(objc::msgSend<bool>(files, "fileExistsAtPath:"_sel, NSStr("/Library/file")));
    EXPECT_FALSE(files->fileExistsAtPath(std::shared_ptr<NSString>()));
    std::filesystem::create_symlink(device.host("/Library/nowhere"), device.host("/Library/dangling"));
    EXPECT_FALSE(files->fileExistsAtPath("/Library/dangling"));

    // ".." cannot climb out of the device root.
    EXPECT_TRUE(files->createDirectoryAtPath("/Library/../../../escape", true));
    EXPECT_TRUE(std::filesystem::is_directory(device.host("/escape")));
    EXPECT_TRUE(files->fileExistsAtPath("/../Library/./file"));
}

TEST_F(DataFileSystem, FoldersAreMadeAndRemoved)
{
    EXPECT_FALSE(files->createDirectoryAtPath("/User/Library/Preferences", false)); // no parent
    EXPECT_TRUE(files->createDirectoryAtPath("/User/Library/Preferences", true));
    EXPECT_TRUE(files->createDirectoryAtPath("/User/Library/Preferences", true)); // already there
    EXPECT_FALSE(files->createDirectoryAtPath("/User/Library/Preferences", false));
    EXPECT_TRUE(files->createDirectoryAtPath("/User/Library/Preferences/Sub", false));
    device.writeFile("/User/blocker", "x");
    EXPECT_FALSE(files->createDirectoryAtPath("/User/blocker", true));
    EXPECT_FALSE(files->createDirectoryAtPath("/User/blocker/inner", true));

    device.writeFile("/User/Library/Preferences/Sub/a.plist", "x");
    EXPECT_TRUE(files->removeItemAtPath("/User/Library"));
    EXPECT_FALSE(files->fileExistsAtPath("/User/Library"));
    EXPECT_FALSE(files->removeItemAtPath("/User/Library"));
    EXPECT_TRUE(files->removeItemAtPath("/User/blocker"));
    // The device root itself stays.
    EXPECT_FALSE(files->removeItemAtPath("/"));
    EXPECT_FALSE(files->removeItemAtPath("/Library/.."));
    EXPECT_TRUE(std::filesystem::is_directory(device.path()));
}

TEST_F(DataFileSystem, LoaderOpensDevicePathsAndFailsSilently)
{
    EXPECT_EQ(foundation::dlopen("/Library/MobileSubstrate/DynamicLibraries/Missing.dylib", RTLD_NOW), nullptr);
    EXPECT_EQ(dlerror(), nullptr);
    EXPECT_EQ(foundation::dlopen(nullptr, RTLD_NOW), nullptr);
    device.writeFile("/Library/NotCode.dylib", "text, not code");
    EXPECT_EQ(foundation::dlopen("/Library/NotCode.dylib", RTLD_NOW), nullptr);
    EXPECT_EQ(dlerror(), nullptr);

    device.makeFolder("/Library/MobileSubstrate/DynamicLibraries");
    std::filesystem::copy_file(testsupport::builtLibrary("libfoundation_test_plain.so"),
                               device.host("/Library/MobileSubstrate/DynamicLibraries/Plain.dylib"));
    void* handle = foundation::dlopen("/Library/MobileSubstrate/DynamicLibraries/Plain.dylib", RTLD_NOW);
    ASSERT_NE(handle, nullptr);
    auto probe = reinterpret_cast<int (*)()>(dlsym(handle, "vantorel_loader_probe"));
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe(), 7);
}
