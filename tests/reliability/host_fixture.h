// The real host program with the Vantorel library and the shipped files in the test's device
// root, a settings probe injected after the library (settings_probe.cpp), and helpers to post
// notifications on the test's bus and to lay out plug-in bundles.
#pragma once

#include "support/child_process.h"
#include "tweak_fixture.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace reliability {

std::string built(const std::string& relative);
// Posts a Darwin notification on the session bus of the test (true when it was sent).
bool post(const std::string& name);
// A settings file whose root dictionary holds the entries (XML).
std::string settingsFile(const std::string& entries);

class HostTest : public tweaktest::ShippedFilesTest {
protected:
    HostTest();

    // Starts the host (through the supervisor when asked) and waits for its "ready" line.
    std::unique_ptr<testsupport::ChildProcess> startHost(bool supervised = false,
                                                        const std::vector<std::string>& environment = {});
    // The probe's latest dump once it has made at least `count` of them (empty after the timeout).
    std::map<std::string, std::string> probe(int count, double timeoutSeconds = 10) const;
    // A plug-in bundle "<name>.bundle" with an executable named <name> (the built faulty test
    // plug-in, a text file, or none) and the Info.plist (none when absent).
    enum class Executable { None, FaultyPlugin, NotASharedObject };
    void installBundle(const std::string& name, Executable executable, const std::optional<std::string>& info) const;
    // The lines of the device's system log.
    std::vector<std::string> systemLog() const;
    // The centre of the widgets icon on the dashboard.
    static constexpr const char* kTapWidgets = "tap 38 253";
};

} // namespace reliability
