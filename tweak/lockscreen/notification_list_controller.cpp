#include "tweak/lockscreen/notification_list_controller.h"

// The dashboard follows the host's events here; until it exists each replacement keeps the
// host's behaviour.

namespace listcontroller {

void (*orig_hardwareButtonPressed)(objc::Object*, objc::SEL, objc::id);
void (*orig_updateModelAndViewForAdditionOfItem)(objc::Object*, objc::SEL, objc::id);
void (*orig_updateModelForRemovalOfItemUpdateView)(objc::Object*, objc::SEL, objc::id, bool);
void (*orig_prepareForTeardown)(objc::Object*, objc::SEL);
void (*orig_clearItemsForNotificationCenter)(objc::Object*, objc::SEL);
void (*orig_setInScreenOffMode)(objc::Object*, objc::SEL, bool);

void hardwareButtonPressed(objc::Object* self, objc::SEL cmd, objc::id notification)
{
    if (orig_hardwareButtonPressed)
        orig_hardwareButtonPressed(self, cmd, notification);
}

void updateModelAndViewForAdditionOfItem(objc::Object* self, objc::SEL cmd, objc::id item)
{
    if (orig_updateModelAndViewForAdditionOfItem)
        orig_updateModelAndViewForAdditionOfItem(self, cmd, item);
}

void updateModelForRemovalOfItemUpdateView(objc::Object* self, objc::SEL cmd, objc::id item, bool updateView)
{
    if (orig_updateModelForRemovalOfItemUpdateView)
        orig_updateModelForRemovalOfItemUpdateView(self, cmd, item, updateView);
}

void prepareForTeardown(objc::Object* self, objc::SEL cmd)
{
    if (orig_prepareForTeardown)
        orig_prepareForTeardown(self, cmd);
}

void clearItemsForNotificationCenter(objc::Object* self, objc::SEL cmd)
{
    if (orig_clearItemsForNotificationCenter)
        orig_clearItemsForNotificationCenter(self, cmd);
}

void setInScreenOffMode(objc::Object* self, objc::SEL cmd, bool screenOff)
{
    if (orig_setInScreenOffMode)
        orig_setInScreenOffMode(self, cmd, screenOff);
}

} // namespace listcontroller
