// The substrate loader loads the libraries whose filter names the host, in name order, and no
// others.
#include "springboard_fixture.h"

#include "springboard/springboard.h"
#include "springboard/substrate_loader.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class SpringBoardSubstrateLoader : public sbtest::SpringBoardTest {};

int linesIn(const std::string& hostPath)
{
    std::ifstream in(hostPath);
    int lines = 0;
    for (std::string line; std::getline(in, line);)
        ++lines;
    return lines;
}

} // namespace

TEST_F(SpringBoardSubstrateLoader, LoadsOnlyLibrariesWhoseFilterNamesTheHost)
{
    installSubstrateLibrary("libSBTestTweakAlpha.so", "Alpha", sbtest::filterPlist("Bundles", "com.apple.springboard"));
    installSubstrateLibrary("libSBTestTweakGamma.so", "Gamma", sbtest::filterPlist("Executables", "SpringBoard"));
    installSubstrateLibrary("libSBTestTweakBeta.so", "Beta", sbtest::filterPlist("Bundles", "com.apple.Preferences"));
    installSubstrateLibrary("libSBTestTweakBeta.so", "Delta", ""); // no filter
    installSubstrateLibrary("libSBTestTweakBeta.so", "Epsilon", "<plist><dict><key>Filter");
    installSubstrateLibrary("libSBTestTweakBeta.so", "Zeta", sbtest::filterPlist("Bundles", ""));
    device.writeFile("/Library/MobileSubstrate/DynamicLibraries/Readme.txt", "not a library");

    const auto results = springboard::loadSubstrateLibraries(SpringBoard::kBundleIdentifier, "SpringBoard");
    ASSERT_EQ(results.size(), 6u);
    const char* order[] = {"Alpha", "Beta", "Delta", "Epsilon", "Gamma", "Zeta"};
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i].devicePath, std::string("/Library/MobileSubstrate/DynamicLibraries/") + order[i] + ".dylib");
        const bool expected = i == 0 || i == 4;
        EXPECT_EQ(results[i].loaded, expected) << order[i] << ": " << results[i].reason;
    }
    EXPECT_NE(objc::objc_getClass("SBTestTweakAlpha"), nullptr);
    EXPECT_NE(objc::objc_getClass("SBTestTweakGamma"), nullptr);
    EXPECT_EQ(objc::objc_getClass("SBTestTweakBeta"), nullptr);
    // The library initialiser ran (once, in this process).
    EXPECT_GE(linesIn(device.host("/var/tmp/SBTestTweakAlpha.log")), 1);
    EXPECT_FALSE(std::ifstream(device.host("/var/tmp/SBTestTweakBeta.log")).good());
}

TEST_F(SpringBoardSubstrateLoader, NoFolderLoadsNothing)
{
    EXPECT_TRUE(springboard::loadSubstrateLibraries(SpringBoard::kBundleIdentifier, "SpringBoard").empty());
}

TEST_F(SpringBoardSubstrateLoader, FilterNamesBundlesOrExecutables)
{
    device.writeFile("/f1.plist", sbtest::filterPlist("Bundles", "com.apple.springboard"));
    device.writeFile("/f2.plist", sbtest::filterPlist("Executables", "SpringBoard"));
    device.writeFile("/f3.plist", "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Filter</key>"
                                  "<dict><key>Bundles</key><string>com.apple.springboard</string></dict></dict></plist>");
    EXPECT_TRUE(springboard::substrateFilterMatches("/f1.plist", "com.apple.springboard", "SpringBoard"));
    EXPECT_FALSE(springboard::substrateFilterMatches("/f1.plist", "com.apple.Preferences", "Preferences"));
    EXPECT_TRUE(springboard::substrateFilterMatches("/f2.plist", "com.apple.springboard", "SpringBoard"));
    EXPECT_FALSE(springboard::substrateFilterMatches("/f2.plist", "com.apple.springboard", "vantoreld"));
    EXPECT_FALSE(springboard::substrateFilterMatches("/f3.plist", "com.apple.springboard", "SpringBoard"));
    EXPECT_FALSE(springboard::substrateFilterMatches("/missing.plist", "com.apple.springboard", "SpringBoard"));
}
