// The library's replacements on the host's notification list controller
// (SBLockScreenNotificationListController): each calls the host's implementation first.
#pragma once

#include "objc/objc.h"

namespace listcontroller {

extern void (*orig_hardwareButtonPressed)(objc::Object* self, objc::SEL cmd, objc::id notification);
extern void (*orig_updateModelAndViewForAdditionOfItem)(objc::Object* self, objc::SEL cmd, objc::id item);
extern void (*orig_updateModelForRemovalOfItemUpdateView)(objc::Object* self, objc::SEL cmd, objc::id item,
                                                          bool updateView);
extern void (*orig_prepareForTeardown)(objc::Object* self, objc::SEL cmd);
extern void (*orig_clearItemsForNotificationCenter)(objc::Object* self, objc::SEL cmd);
extern void (*orig_setInScreenOffMode)(objc::Object* self, objc::SEL cmd, bool screenOff);

void hardwareButtonPressed(objc::Object* self, objc::SEL cmd, objc::id notification);
void updateModelAndViewForAdditionOfItem(objc::Object* self, objc::SEL cmd, objc::id item);
void updateModelForRemovalOfItemUpdateView(objc::Object* self, objc::SEL cmd, objc::id item, bool updateView);
void prepareForTeardown(objc::Object* self, objc::SEL cmd);
void clearItemsForNotificationCenter(objc::Object* self, objc::SEL cmd);
void setInScreenOffMode(objc::Object* self, objc::SEL cmd, bool screenOff);

} // namespace listcontroller
