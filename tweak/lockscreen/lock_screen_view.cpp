#include "tweak/lockscreen/lock_screen_view.h"

#include "tweak/core/hook_table.h"
#include "tweak/core/settings.h"
#include "tweak/lockscreen/host_access.h"
#include "tweak/lockscreen/standard_backdrop.h"
#include "uikit/backdrop_view.h"

constinit std::shared_ptr<_UIBackdropView> lockScreenBackdrop;

namespace vantorel::hooks::SBLockScreenView {

void layoutSubviews(objc::Object* self, objc::SEL cmd)
{
    callHost<&layoutSubviews>(self, cmd);
    auto* view = dynamic_cast<UIView*>(self);
    if (!settings.blurEnabled || !view)
        return;
    if (!lockScreenBackdrop)
        lockScreenBackdrop = makeStandardBackdrop();
    if (!lockScreenBackdrop)
        return;
    configureStandardBackdrop(*lockScreenBackdrop);
    // No frame: the blur view fills the lock screen by itself.
    view->insertSubviewAtIndex(lockScreenBackdrop, 0);
    // Through the runtime, so that the request reaches the replacement below.
    objc::msgSend(self, "_addLockContentUnderlayWithRequester:"_sel, hostIvar(self, "_contentUnderlayRequesters"));
}

void _addLockContentUnderlayWithRequester(objc::Object* self, objc::SEL cmd, const objc::ObjectRef&)
{
    // Without blur the host's veil never shows, whoever asks for it.
    if (!settings.blurEnabled)
        return;
    callHost<&_addLockContentUnderlayWithRequester>(self, cmd, hostIvar(self, "_mediaControlsHiddenRequesters"));
}

} // namespace vantorel::hooks::SBLockScreenView
