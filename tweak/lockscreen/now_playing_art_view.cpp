#include "tweak/lockscreen/now_playing_art_view.h"

// The artwork is hidden here once the dashboard lands; until then the host's view stays as made.

namespace nowplaying {

objc::id (*orig_initWithFrame)(objc::Object*, objc::SEL, CGRect);

objc::id initWithFrame(objc::Object* self, objc::SEL cmd, CGRect frame)
{
    return orig_initWithFrame ? orig_initWithFrame(self, cmd, frame) : nullptr;
}

} // namespace nowplaying
