#include "tweak/lockscreen/lock_screen_view.h"

// The lock-screen backdrop is added here; until then each replacement keeps the host's
// behaviour.

namespace lockscreenview {

void (*orig_layoutSubviews)(objc::Object*, objc::SEL);
void (*orig_addLockContentUnderlayWithRequester)(objc::Object*, objc::SEL, objc::id);

void layoutSubviews(objc::Object* self, objc::SEL cmd)
{
    if (orig_layoutSubviews)
        orig_layoutSubviews(self, cmd);
}

void addLockContentUnderlayWithRequester(objc::Object* self, objc::SEL cmd, objc::id requester)
{
    if (orig_addLockContentUnderlayWithRequester)
        orig_addLockContentUnderlayWithRequester(self, cmd, requester);
}

} // namespace lockscreenview
