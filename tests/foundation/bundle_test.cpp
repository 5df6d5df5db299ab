#include "foundation/ns_bundle.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_string.h"
#include "support/device_root.h"
#include "support/support.h"

#include <filesystem>
#include <gtest/gtest.h>

using objc::operator""_sel;

namespace {

constexpr const char* kPlugins = "/Library/Application Support/Vantorel/Plugins";

// Each bundle executable is loaded by one test only, so that "not loaded yet" holds however
// the tests are run (one process per test, or all in one).
class DataBundles : public testsupport::DeviceRootTest {
protected:
    // Makes "<plugins>/<name>.bundle" with an Info.plist of the given keys and, when library
    // is given, a copy of that built module as the executable.
    std::string stage(const std::string& name, const std::string& infoKeys, const std::string& library,
                      const std::string& executable)
    {
        const std::string bundle = std::string(kPlugins) + "/" + name + ".bundle";
        device.writeFile(bundle + "/Info.plist",
                         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>" + infoKeys +
                             "</dict>\n</plist>\n");
        if (!library.empty())
            std::filesystem::copy_file(testsupport::builtLibrary(library), device.host(bundle + "/" + executable));
        return bundle;
    }

    static std::string key(const std::string& k, const std::string& v)
    {
        return "<key>" + k + "</key><string>" + v + "</string>";
    }
};

} // namespace

TEST_F(DataBundles, MissingFolderGivesNilAndEachFolderHasOneBundle)
{
    EXPECT_FALSE(NSBundle::bundleWithPath(std::string(kPlugins) + "/Nothing.bundle"));
    EXPECT_FALSE(NSBundle::bundleWithPath(""));
    EXPECT_FALSE(NSBundle::bundleWithPath(std::shared_ptr<NSString>()));
    device.writeFile("/Library/NotAFolder.bundle", "x");
    EXPECT_FALSE(NSBundle::bundleWithPath("/Library/NotAFolder.bundle"));

    const std::string path = stage("Notes", key("CFBundleExecutable", "Notes") + key("Colour", "blue"), "", "");
    device.writeFile(path + "/Notes.png", "picture");
    device.writeFile(path + "/Resources/Help.txt", "help");
    auto bundle = NSBundle::bundleWithPath(path);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(NSBundle::bundleWithPath(path + "/"), bundle);
    EXPECT_EQ(NSBundle::bundleWithPath(std::string(kPlugins) + "/./Notes.bundle"), bundle);
    EXPECT_EQ(objc::msgSend<objc::id>(NSBundle::class_(), "bundleWithPath:"_sel, NSStr(path)), bundle);
    EXPECT_EQ(bundle->bundlePath(), path);
    EXPECT_EQ(bundle->executablePath(), path + "/Notes");
    EXPECT_EQ(std::dynamic_pointer_cast<NSString>(bundle->objectForInfoDictionaryKey("Colour"))->string(), "blue");
    EXPECT_EQ(bundle->infoDictionary()->count(), 2u);
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("Missing"), nullptr);

    EXPECT_EQ(bundle->pathForResourceOfType("Notes", "png"), path + "/Notes.png");
    EXPECT_EQ(bundle->pathForResourceOfType("Help", ".txt"), path + "/Resources/Help.txt");
    EXPECT_EQ(bundle->pathForResourceOfType("Other", "png"), "");
    EXPECT_EQ(bundle->pathForResourceOfType("../Notes.bundle/Notes", "png"), "");
    EXPECT_EQ(bundle->pathForResourceOfType("Resources", ""), ""); // a folder is no resource

    // No executable in the folder: loading fails silently and finds no class.
    EXPECT_FALSE(bundle->load());
    EXPECT_FALSE(bundle->isLoaded());
    EXPECT_EQ(bundle->principalClass(), nullptr);
}

TEST_F(DataBundles, LoadingRegistersTheClassesAndFindsTheDeclaredPrincipalClass)
{
    const std::string path = stage("Plates", key("CFBundleExecutable", "Plates") + key("NSPrincipalClass", "PlateSecond"),
                                   "libfoundation_test_plates.so", "Plates");
    auto bundle = NSBundle::bundleWithPath(path);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(objc::objc_getClass("PlateFirst"), nullptr);
    EXPECT_FALSE(bundle->isLoaded());

    EXPECT_TRUE(bundle->load());
    EXPECT_TRUE(bundle->isLoaded());
    objc::Class first = objc::objc_getClass("PlateFirst");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(bundle->load()); // once loaded, stays loaded
    EXPECT_TRUE(objc::msgSend<bool>(bundle, "load"_sel));
    EXPECT_EQ(objc::objc_getClass("PlateFirst"), first);

    objc::Class principal = bundle->principalClass();
    ASSERT_NE(principal, nullptr);
    EXPECT_EQ(principal->name(), "PlateSecond");
    EXPECT_EQ(objc::msgSend<objc::Class>(bundle, "principalClass"_sel), principal);
    objc::id plate = principal->createInstance();
    EXPECT_EQ(objc::msgSend<int>(plate, "answer"_sel), 2);
}

TEST_F(DataBundles, WithoutADeclaredClassTheFirstRegisteredClassIsPrincipal)
{
    const std::string path = stage("Tiles", key("CFBundleExecutable", "Tiles"), "libfoundation_test_tiles.so", "Tiles");
    // A second bundle whose executable is the same file under another path, declaring a class
    // that does not exist: it falls back to the first class of that executable too.
    const std::string other = stage("Mosaic", key("CFBundleExecutable", "Mosaic") + key("NSPrincipalClass", "NoSuchClass"), "", "");
    std::filesystem::create_symlink(device.host(path + "/Tiles"), device.host(other + "/Mosaic"));

    EXPECT_EQ(objc::objc_getClass("TileFirst"), nullptr);
    auto bundle = NSBundle::bundleWithPath(path);
    ASSERT_TRUE(bundle);
    // principalClass loads the bundle when needed.
    objc::Class principal = bundle->principalClass();
    EXPECT_TRUE(bundle->isLoaded());
    ASSERT_NE(principal, nullptr);
    EXPECT_EQ(principal->name(), "TileFirst");
    EXPECT_EQ(objc::msgSend<int>(principal->createInstance(), "answer"_sel), 10);

    auto mosaic = NSBundle::bundleWithPath(other);
    ASSERT_TRUE(mosaic);
    EXPECT_EQ(mosaic->principalClass(), principal);
}

TEST_F(DataBundles, MissingOrUnloadableExecutablesFailSilently)
{
    auto ghost = NSBundle::bundleWithPath(stage("Ghost", key("CFBundleExecutable", "Ghost"), "", ""));
    ASSERT_TRUE(ghost);
    EXPECT_FALSE(ghost->load());
    EXPECT_FALSE(ghost->isLoaded());
    EXPECT_EQ(ghost->principalClass(), nullptr);

    const std::string text = stage("Text", key("CFBundleExecutable", "Text"), "", "");
    device.writeFile(text + "/Text", "not a shared object");
    EXPECT_FALSE(NSBundle::bundleWithPath(text)->load());

    // An executable name that leaves the bundle folder names no executable.
    auto escaping = NSBundle::bundleWithPath(stage("Escape", key("CFBundleExecutable", "../Text.bundle/Text"), "", ""));
    ASSERT_TRUE(escaping);
    EXPECT_EQ(escaping->executablePath(), "");
    EXPECT_FALSE(escaping->load());

    // No Info.plist at all: the executable is named after the folder, and still missing.
    device.makeFolder(std::string(kPlugins) + "/Bare.bundle");
    auto bare = NSBundle::bundleWithPath(std::string(kPlugins) + "/Bare.bundle");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->infoDictionary()->count(), 0u);
    EXPECT_EQ(bare->executablePath(), std::string(kPlugins) + "/Bare.bundle/Bare");
    EXPECT_FALSE(bare->load());
}
