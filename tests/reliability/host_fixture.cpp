#include "host_fixture.h"

#include "common/support_paths.h"
#include "support/support.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace reliability {

std::string built(const std::string& relative) { return testsupport::buildDir() + "/" + relative; }

bool post(const std::string& name)
{
    const std::string command =
        "dbus-send --session --type=signal /com/vantorel/DarwinNotify com.vantorel.DarwinNotify.Notify string:" + name;
    return std::system(command.c_str()) == 0;
}

std::string settingsFile(const std::string& entries) { return tweaktest::plist(entries); }

HostTest::HostTest()
{
    const std::string libraries = "/Library/MobileSubstrate/DynamicLibraries/";
    for (const std::string& devicePath : {libraries + "Vantorel.dylib", libraries + "Vantorel.plist",
                                          std::string("/System/Library/SpringBoardPlugins/NowPlayingArtLockScreen."
                                                      "lockbundle/NowPlayingArtLockScreen")}) {
        fs::create_directories(fs::path(device.host(devicePath)).parent_path());
        fs::copy_file(built("device") + devicePath, device.host(devicePath), fs::copy_options::overwrite_existing);
    }
    fs::copy_file(testsupport::builtLibrary("libreliability_settings_probe.so"),
                  device.host(libraries + "VantorelSettingsProbe.dylib"));
    fs::copy_file(device.host(libraries + "Vantorel.plist"), device.host(libraries + "VantorelSettingsProbe.plist"));
    device.makeFolder("/User/Library/Preferences");
}

std::unique_ptr<testsupport::ChildProcess> HostTest::startHost(bool supervised,
                                                              const std::vector<std::string>& environment)
{
    std::vector<std::string> program{built("bin/springboard")};
    if (supervised)
        program.insert(program.begin(), built("bin/springboard-supervisor"));
    auto host = std::make_unique<testsupport::ChildProcess>(program, environment);
    const std::string ready = host->readLine(30).value_or("");
    EXPECT_TRUE(ready.starts_with("ready ")) << ready;
    return host;
}

std::map<std::string, std::string> HostTest::probe(int count, double timeoutSeconds) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    do {
        std::map<std::string, std::string> values;
        std::ifstream in(device.host("/var/tmp/SettingsProbe.txt"));
        for (std::string line; std::getline(in, line);)
            if (const auto equals = line.find('='); equals != std::string::npos)
                values[line.substr(0, equals)] = line.substr(equals + 1);
        if (values.count("dump") && std::stoi(values["dump"]) >= count)
            return values;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return {};
}

void HostTest::installBundle(const std::string& name, Executable executable,
                             const std::optional<std::string>& info) const
{
    const std::string bundle = vantorel::pluginBundlePath(name);
    device.makeFolder(bundle);
    if (executable == Executable::FaultyPlugin)
        fs::copy_file(testsupport::builtLibrary("libreliability_faulty_widget.so"), device.host(bundle + "/" + name),
                      fs::copy_options::overwrite_existing);
    else if (executable == Executable::NotASharedObject)
        device.writeFile(bundle + "/" + name, "#!/bin/sh\necho this is no shared object\n");
    if (info)
        device.writeFile(bundle + "/Info.plist", *info);
}

std::vector<std::string> HostTest::systemLog() const
{
    std::ifstream in(device.host("/var/log/vantorel.log"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace reliability
