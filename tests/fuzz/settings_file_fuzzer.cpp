// Any bytes as the settings file, read by the library's settings load, then used as the library
// uses it: the language texts and greetings composed with the name, the part of the day from the
// day-part times, a badge stamped in the text colour. A file that is not a dictionary gives every
// default; a plug-in name that could leave the plug-ins folder loads nothing.
#include "common/support_paths.h"
#include "foundation/ns_dictionary.h"
#include "tweak/core/localization.h"
#include "tweak/core/settings.h"
#include "tweak/core/status_text.h"
#include "tweak/core/text_stamping.h"
#include "uikit/color.h"
#include "uikit/image.h"

#include "fuzz_device.h"

#include <cstdio>
#include <cstdlib>

using vantorel::settings;

namespace {

[[noreturn]] void fail(const char* why)
{
    std::fprintf(stderr, "settings_file_fuzzer: %s\n", why);
    std::abort();
}

void setUpOnce()
{
    static const bool done = [] {
        fuzzing::deviceRoot();
        fuzzing::copyStaged(vantorel::LanguageSupportFolder);
        fuzzing::copyStaged(vantorel::PluginsFolder);
        return true;
    }();
    (void)done;
}

bool hasEveryDefault()
{
    const auto white = UIColor::whiteColor();
    return settings.nameIsDefault && settings.textColor == white && settings.glyphColor == white &&
           settings.backgroundBlurColor == white && settings.backgroundBlurAlpha == static_cast<double>(0.2f) &&
           !settings.removeNW && settings.morningStart == "06:00" && settings.afternoonStart == "12:00" &&
           settings.eveningStart == "18:00" && settings.nightStart == "22:00" &&
           settings.localizationFolder == "English" && settings.enabled && !settings.blurEnabled &&
           !settings.allWidgets && settings.SelectedWidget == "Calendar";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    setUpOnce();
    fuzzing::writeFile(vantorel::SettingsFile, fuzzing::bytesOf(data, size));
    loadSettings();
    if (!NSDictionary::dictionaryWithContentsOfFile(vantorel::SettingsFile) && !hasEveryDefault())
        fail("a file that is no dictionary left a setting without its default");
    if (!settings.allWidgets && settings.selectedWidgetClass && !vantorel::isSafeFolderName(settings.SelectedWidget))
        fail("a plug-in was loaded from outside the plug-ins folder");

    generateLocalizations();
    for (const LocalizedText* greeting : {&morningString, &afternoonString, &eveningString, &nightString})
        if (!*greeting || greeting->value().back() != '.')
            fail("a greeting is not composed");
    const long part = dateStatus();
    if (part < 0 || part > 3)
        fail("no part of the day");
    dateStatusString();

    static const auto badge = UIImage::imageWithContentsOfFile(std::string(vantorel::BadgePicture));
    if (badge && !drawTextInImage2("7", badge, {4, 2}))
        fail("no badge drawn");
    return 0;
}
