#include "tweak/core/startup.h"

#include "common/hex_colors.h"
#include "foundation/loader.h"
#include "tweak/core/hook_table.h"
#include "tweak/core/localization.h"
#include "tweak/core/settings.h"
#include "tweak/core/status_text.h"
#include "uikit/application.h"

#include <dlfcn.h>

void respring(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    objc::msgSend(UIApplication::sharedApplication(), "_relaunchSpringBoardNow"_sel);
}

namespace vantorel {

void startUp()
{
    registerHexColorsCategory();
    for (const char* path : CompanionLibraries)
        foundation::dlopen(path, RTLD_NOW);

    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    CFNotificationCenterAddObserver(center, nullptr, &didUpdateWeather, CFSTR("VTdidUpdateWeather"), nullptr, 0);
    CFNotificationCenterAddObserver(center, nullptr, &loadSettings, CFSTR("loadVantorelS"), nullptr, 0);
    CFNotificationCenterAddObserver(center, nullptr, &respring, CFSTR("RespringVT"), nullptr, 0);

    loadSettings();
    generateLocalizations();
    // Read once: switching the library on or off takes effect at the next start of the host.
    if (!settings.enabled)
        return;
    installHookTable();
}

} // namespace vantorel
