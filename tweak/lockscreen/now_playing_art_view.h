// The library's replacement on the host's now-playing artwork view (_NowPlayingArtView).
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"

namespace nowplaying {

extern objc::id (*orig_initWithFrame)(objc::Object* self, objc::SEL cmd, CGRect frame);

objc::id initWithFrame(objc::Object* self, objc::SEL cmd, CGRect frame);

} // namespace nowplaying
