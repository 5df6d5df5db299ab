#include "tweak/lockscreen/notification_list_controller.h"

#include "foundation/ns_string.h"
#include "tweak/core/hook_table.h"
#include "tweak/core/localization.h"
#include "tweak/core/status_text.h"
#include "tweak/lockscreen/dashboard_views.h"
#include "tweak/lockscreen/host_access.h"
#include "uikit/label.h"

namespace vantorel::hooks::SBLockScreenNotificationListController {

namespace {

constexpr const char* kHomeButton = "SBMenuButtonPressedNotification";

// Closes every panel of the controller's list view (a view the library has not extended
// answers nothing).
void closeDashboard(objc::Object* self)
{
    objc::msgSendIfResponds(hostIvar(self, "_notificationView"), "normalizePrevTap"_sel);
}

// The hub takes the host's own list object, as the host left it.
void handListToHub(objc::Object* self) { objc::msgSend(appsHub, "setItems:"_sel, hostIvar(self, "_listItems")); }

void setLabelText(UILabel* label, const std::string& text)
{
    if (label)
        label->setText(text);
}

} // namespace

void _hardwareButtonPressed(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& notification)
{
    callHost<&_hardwareButtonPressed>(self, cmd, notification);
    const auto name = std::dynamic_pointer_cast<NSString>(
        objc::msgSendIfResponds<objc::id>(notification, "name"_sel));
    if (!name || name->string() != kHomeButton)
        return;
    closeDashboard(self);
    objc::msgSend(appsHub, "returnToNormal"_sel);
}

void _updateModelAndViewForAdditionOfItem(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& item)
{
    callHost<&_updateModelAndViewForAdditionOfItem>(self, cmd, item);
    if (!item)
        return;
    switch (dateStatus()) {
    case 0:
    case 1:
    case 2:
        setLabelText(tempStringLabel.get(), textOrEmpty(goneAlertLabel));
        break;
    case 3:
        setLabelText(tempStringLabel.get(), textOrEmpty(goneSleepAlertLabel));
        break;
    default:
        break;
    }
    handListToHub(self);
    objc::msgSend(appsHub, "addIconFor:andBadgeCount:"_sel, item, 0L);
    objc::msgSend(appsHub, "showIcons"_sel);
}

void _updateModelForRemovalOfItemUpdateView(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& item,
                                            bool updateView)
{
    callHost<&_updateModelForRemovalOfItemUpdateView>(self, cmd, item, updateView);
    // Whether or not the host redraws its list, the hub follows it.
    handListToHub(self);
    objc::msgSend(appsHub, "removeForItem:"_sel, item);
}

namespace {

// The list goes away or moves on: the weather sentence returns and the dashboard empties and
// closes.
void resetDashboard(objc::Object* self)
{
    setLabelText(tempStringLabel.get(), getTempString());
    objc::msgSend(appsHub, "returnToNormal"_sel);
    objc::msgSend(appsHub, "clearAll"_sel);
    closeDashboard(self);
}

} // namespace

void prepareForTeardown(objc::Object* self, objc::SEL cmd)
{
    callHost<&prepareForTeardown>(self, cmd);
    resetDashboard(self);
}

void clearItemsForNotificationCenter(objc::Object* self, objc::SEL cmd)
{
    callHost<&clearItemsForNotificationCenter>(self, cmd);
    resetDashboard(self);
}

void setInScreenOffMode(objc::Object* self, objc::SEL cmd, bool screenOff)
{
    callHost<&setInScreenOffMode>(self, cmd, screenOff);
    // Either way the screen changes, the dashboard is closed and greets for the hour it shows at.
    setLabelText(greetingLabel.get(), dateStatusString());
    objc::msgSend(appsHub, "returnToNormal"_sel);
    closeDashboard(self);
}

} // namespace vantorel::hooks::SBLockScreenNotificationListController
