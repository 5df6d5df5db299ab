// The dashboard follows the host's notification list controller
// (SBLockScreenNotificationListController): each new item feeds the apps hub and turns the
// weather line into an away text, each removal takes it from the hub, and the home button,
// teardown, clearing and the screen going off close the dashboard. Every replacement calls the
// host's implementation first, with the same arguments.
#pragma once

#include "objc/objc.h"

namespace vantorel::hooks::SBLockScreenNotificationListController {

void _hardwareButtonPressed(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& notification);
void _updateModelAndViewForAdditionOfItem(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& item);
void _updateModelForRemovalOfItemUpdateView(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& item,
                                            bool updateView);
void prepareForTeardown(objc::Object* self, objc::SEL cmd);
void clearItemsForNotificationCenter(objc::Object* self, objc::SEL cmd);
void setInScreenOffMode(objc::Object* self, objc::SEL cmd, bool screenOff);

} // namespace vantorel::hooks::SBLockScreenNotificationListController
