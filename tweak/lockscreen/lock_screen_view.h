// The lock screen view (SBLockScreenView): with the "blurEnabled" setting on, a blur backdrop
// behind all of its content and the host's content underlay redirected to the media-controls
// requesters; with it off, no content underlay at all.
#pragma once

#include "objc/objc.h"

#include <memory>

class _UIBackdropView;

// The backdrop behind the lock screen, made on the first layout pass with blur on and kept for
// the process (it moves into whichever lock screen view is laid out next).
extern std::shared_ptr<_UIBackdropView> lockScreenBackdrop;

namespace vantorel::hooks::SBLockScreenView {

void layoutSubviews(objc::Object* self, objc::SEL cmd);
void _addLockContentUnderlayWithRequester(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& requester);

} // namespace vantorel::hooks::SBLockScreenView
