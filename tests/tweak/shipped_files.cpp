#include "tweak_fixture.h"

#include "common/support_paths.h"
#include "support/support.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace tweaktest {

std::string plist(const std::string& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\"><dict>" +
           entries + "</dict></plist>\n";
}

ShippedFilesTest::ShippedFilesTest()
{
    // The shipped language files and pictures, as the build staged them.
    const fs::path staged = fs::path(testsupport::buildDir()) / "device/Library/Application Support/Vantorel";
    const fs::path support = device.host(std::string(vantorel::SupportFolder));
    fs::create_directories(support);
    fs::copy(staged, support, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
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
}

} // namespace tweaktest
