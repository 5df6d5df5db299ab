#include "tweak_fixture.h"

#include "common/support_paths.h"
#include "tweak/core/settings.h"

#include <filesystem>

namespace tweaktest {

TweakTest::TweakTest()
{
    vantorel::settings = {};
    const std::string plugins(vantorel::PluginsFolder);
    std::filesystem::remove_all(device.host(plugins));
    device.makeFolder(plugins);
}

TweakTest::~TweakTest() { vantorel::settings = {}; }

} // namespace tweaktest
