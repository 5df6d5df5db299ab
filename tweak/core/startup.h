// The library's start-up, run once per host process when the library is loaded, and the
// restart of the host on request.
#pragma once

#include "foundation/notification_center.h"

namespace vantorel {

// Opens the companion libraries, observes the three notifications, loads the settings and the
// texts, and installs the hook table when the library is enabled.
void startUp();

// The companion libraries opened first, in order; a missing one is skipped.
inline constexpr const char* CompanionLibraries[] = {
    "/System/Library/SpringBoardPlugins/NowPlayingArtLockScreen.lockbundle/NowPlayingArtLockScreen",
    "/Library/MobileSubstrate/DynamicLibraries/SubtleLock.dylib",
    "/Library/MobileSubstrate/DynamicLibraries/Roomy.dylib",
};

} // namespace vantorel

// Restarts the host process at once ("RespringVT"). Arguments ignored.
void respring(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object,
              CFDictionaryRef userInfo);
