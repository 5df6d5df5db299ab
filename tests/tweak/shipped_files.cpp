#include "tweak_fixture.h"

#include "common/support_paths.h"
#include "support/support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace tweaktest {

namespace {

// The build's staged copy of a device path.
fs::path staged(const std::string& devicePath) { return testsupport::buildDir() + "/device" + devicePath; }

} // namespace

std::string plist(const std::string& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\"><dict>" +
           entries + "</dict></plist>\n";
}

ShippedFilesTest::ShippedFilesTest()
{
    // The shipped language files, pictures and plug-ins, as the build staged them.
    const fs::path support = device.host(std::string(vantorel::SupportFolder));
    fs::create_directories(support);
    fs::copy(staged(std::string(vantorel::SupportFolder)), support,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void ShippedFilesTest::writeSettings(const std::string& entries) const
{
    device.writeFile(std::string(vantorel::SettingsFile), plist(entries));
}

void ShippedFilesTest::installPlugin(const std::string& name, bool withPrincipalClassName) const
{
    const std::string bundle = vantorel::pluginBundlePath(name);
    device.makeFolder(bundle);
    fs::copy_file(testsupport::builtLibrary("libtweak_test_widget.so"), device.host(bundle + "/" + name),
                  fs::copy_options::overwrite_existing);
    std::string info = "<key>CFBundleExecutable</key><string>" + name + "</string>";
    if (withPrincipalClassName)
        info += "<key>NSPrincipalClass</key><string>TestWidgetView</string>";
    device.writeFile(bundle + "/Info.plist", plist(info));
    installPluginIcon(name);
}

void ShippedFilesTest::installPluginIcon(const std::string& name) const
{
    const std::string icon = vantorel::pluginIconPath(name);
    const std::string shipped = vantorel::pluginIconPath("Calendar");
    device.makeFolder(vantorel::pluginBundlePath(name));
    for (const char* suffix : {".png", "@2x.png"}) {
        const auto at = [&](const std::string& png) { return png.substr(0, png.size() - 4) + suffix; };
        fs::copy_file(staged(at(shipped)), device.host(at(icon)), fs::copy_options::overwrite_existing);
    }
}

void ShippedFilesTest::installShippedPlugin(const std::string& name) const
{
    const std::string bundle = vantorel::pluginBundlePath(name);
    const fs::path executable = staged(bundle + "/" + name);
    ASSERT_TRUE(fs::exists(executable)) << executable << " is not built";
    // A plug-in older than the runtime or the toolkit was built against other class layouts.
    for (const char* library : {"libvantorel_objc.so", "libvantorel_uikit.so"})
        ASSERT_GE(fs::last_write_time(executable), fs::last_write_time(testsupport::builtLibrary(library)))
            << executable << " is older than " << library << ": build its target";
    device.makeFolder(bundle);
    fs::copy(staged(bundle), device.host(bundle), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

} // namespace tweaktest
