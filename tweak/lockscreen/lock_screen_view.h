// The library's replacements on the host's lock screen view (SBLockScreenView).
#pragma once

#include "objc/objc.h"

namespace lockscreenview {

extern void (*orig_layoutSubviews)(objc::Object* self, objc::SEL cmd);
extern void (*orig_addLockContentUnderlayWithRequester)(objc::Object* self, objc::SEL cmd, objc::id requester);

void layoutSubviews(objc::Object* self, objc::SEL cmd);
void addLockContentUnderlayWithRequester(objc::Object* self, objc::SEL cmd, objc::id requester);

} // namespace lockscreenview
