// The Vantorel preference bundle as the Settings application finds it on the device, copied
// from the build's staged device root into a fuzz target's device root.
#pragma once

#include "preferences/preferences_app.h"

#include "fuzz_device.h"

namespace fuzzing {

inline constexpr const char* kPreferenceBundle = "/Library/PreferenceBundles/Vantorel.bundle";

inline void installPreferenceBundle()
{
    static const bool installed = [] {
        deviceRoot();
        copyStaged(kPreferenceBundle);
        copyStaged("/Library/Application Support/Vantorel/Language Support/");
        copyStaged("/Library/Application Support/Vantorel/Plugins/");
        return true;
    }();
    (void)installed;
}

// Closes whatever the last acts left open: alerts and the picker, then every page but the first.
inline void closeEverything(PreferencesApp& app)
{
    for (int presented = 0; presented < 8 && app.presentedController(); ++presented) {
        app.topPage()->dismissViewControllerAnimatedCompletion(false, nullptr);
        PreferencesApp::settle();
    }
    while (app.rootController()->controllers().size() > 1)
        app.rootController()->popController();
}

} // namespace fuzzing
