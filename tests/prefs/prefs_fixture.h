// The preference bundle in the Settings application, in this process: a device root with the
// built bundle installed, the application driven by its commands, and a log of the Darwin
// notifications it posts (on the test process's own bus, support/private_bus.h).
#pragma once

#include "preferences/preferences_app.h"
#include "preferences/preferences_commands.h"
#include "support/device_root.h"

#include <memory>
#include <string>
#include <vector>

class NSDictionary;

namespace prefstest {

// A property list whose root dictionary holds the given XML entries.
std::string plist(const std::string& entries);

class PrefsTest : public testsupport::DeviceRootTest {
protected:
    PrefsTest();
    ~PrefsTest() override;

    // Replaces the bundle's specifier list with these <dict> items.
    void installList(const std::string& items) const;
    void writeSettings(const std::string& entries) const;
    // The settings file as it is on disk (nil when it cannot be read).
    std::shared_ptr<NSDictionary> settings() const;
    std::string settingsHostPath() const;
    // Language folders and plug-in bundles to choose from.
    void makeFolders(const std::vector<std::string>& devicePaths) const;

    // Starts (or starts again) the Settings application on the bundle.
    void start();
    std::string run(const std::string& command);
    // Runs the commands, expecting "ok" from each.
    void runAll(const std::vector<std::string>& commands);
    // The names posted since the last call, once a marker posted now has come back (the bus
    // keeps one sender's order, so whatever was posted before it has arrived too).
    std::vector<std::string> posted();

    std::unique_ptr<PreferencesApp> app;
    std::unique_ptr<PreferencesCommands> commands;
};

} // namespace prefstest
