// The host's now-playing artwork view (_NowPlayingArtView): hidden as soon as the host makes
// it, whatever the settings, so that it never shows behind the dashboard.
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"

// The artwork view made last (kept, never read).
extern objc::id nowPlayingArtView;

namespace vantorel::hooks::_NowPlayingArtView {

objc::id initWithFrame(objc::Object* self, objc::SEL cmd, CGRect frame);

} // namespace vantorel::hooks::_NowPlayingArtView
