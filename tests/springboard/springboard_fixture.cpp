#include "springboard_fixture.h"

#include "foundation/clock.h"
#include "springboard/springboard.h"
#include "springboard/substrate_loader.h"
#include "support/support.h"

#include <filesystem>

namespace sbtest {

namespace {

// A hard link where possible: the loader then knows the file as the one already loaded by an
// earlier test of this process and does not load a second copy.
void copyBuilt(const std::string& from, const std::string& to)
{
    std::filesystem::create_directories(std::filesystem::path(to).parent_path());
    std::error_code error;
    std::filesystem::remove(to, error);
    std::filesystem::create_hard_link(from, to, error);
    if (error)
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
}

} // namespace

void SpringBoardTest::SetUp() { foundation::useVirtualClock(kStartOfTests); }

void SpringBoardTest::TearDown() { foundation::useRealClock(); }

void SpringBoardTest::installNowPlayingPlugin() const
{
    copyBuilt(testsupport::builtLibrary("NowPlayingArtLockScreen"), device.host(SpringBoard::kNowPlayingPluginPath));
}

void SpringBoardTest::installSubstrateLibrary(const std::string& builtFile, const std::string& name,
                                              const std::string& filter) const
{
    const std::string folder = springboard::kSubstrateLibrariesFolder;
    copyBuilt(testsupport::builtLibrary(builtFile), device.host(folder + name + ".dylib"));
    if (!filter.empty())
        device.writeFile(folder + name + ".plist", filter);
}

std::string filterPlist(const std::string& key, const std::string& name)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\"><dict><key>Filter</key><dict><key>" +
           key + "</key><array><string>" + name + "</string></array></dict></dict></plist>\n";
}

std::string builtProgram(const std::string& name) { return testsupport::buildDir() + "/bin/" + name; }

} // namespace sbtest
