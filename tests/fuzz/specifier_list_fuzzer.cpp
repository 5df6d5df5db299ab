// Any bytes as the preference bundle's specifier list ("Vantorel.plist"): the Settings
// application opens the bundle, builds its page from the list and the user taps every row.
// Rows may name any kind, cell class, controller class, getter, setter or action; whatever they
// name, the application shows what it can and keeps running.
#include "foundation/ns_array.h"
#include "preferences/ps_specifier.h"

#include "preferences_bundle.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::installPreferenceBundle();
    fuzzing::writeFile(std::string(fuzzing::kPreferenceBundle) + "/Vantorel.plist", fuzzing::bytesOf(data, size));
    fuzzing::removeFile("/User/Library/Preferences/com.vantorel.prefs.plist");

    PreferencesApp app("Vantorel");
    if (!app.isReady()) {
        std::fprintf(stderr, "specifier_list_fuzzer: the bundle does not open: %s\n", app.failure().c_str());
        std::abort();
    }
    app.layOut();
    const auto rows = app.firstPage()->rowSpecifiers();
    for (std::size_t i = 0; i < rows.size() && i < 64; ++i) {
        fuzzing::closeEverything(app);
        app.layOut();
        app.tapRow(rows[i]);
        PreferencesApp::settle();
        app.layOut();
        app.shownValue(rows[i]);
    }
    fuzzing::closeEverything(app);
    return 0;
}
