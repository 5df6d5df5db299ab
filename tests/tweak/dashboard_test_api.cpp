#include "dashboard_test_api.h"

#include "support/support.h"
#include "tweak/core/settings.h"
#include "uikit/backdrop_view.h"

#include <dlfcn.h>

namespace dashboardtest {

namespace {

void (*hostUnderlay)(objc::Object*, objc::SEL, const objc::ObjectRef&) = nullptr;

void countedUnderlay(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& requester)
{
    DashboardTestApi::hostUnderlayCalls().push_back(requester);
    hostUnderlay(self, cmd, requester);
}

template <class T>
bool symbol(void* library, const char* name, T*& out)
{
    out = reinterpret_cast<T*>(dlsym(library, name));
    return out != nullptr;
}

} // namespace

std::vector<objc::id>& DashboardTestApi::hostUnderlayCalls()
{
    static std::vector<objc::id> calls;
    return calls;
}

bool DashboardTestApi::find(void* library)
{
    return symbol(library, "_ZN8vantorel8settingsE", settings_) && symbol(library, "greetingLabel", greetingLabel_) &&
           symbol(library, "tempStringLabel", tempStringLabel_) && symbol(library, "imgCalender", imgCalender_) &&
           symbol(library, "imgNotifications", imgNotifications_) && symbol(library, "widgetPanel", widgetPanel_) &&
           symbol(library, "notificationsPanel", notificationsPanel_) && symbol(library, "tabView", tabView_) &&
           symbol(library, "minimalTablePanel", minimalTablePanel_) && symbol(library, "appsHub", appsHub_) &&
           symbol(library, "widgetHost", widgetHost_) && symbol(library, "widgetSelector", widgetSelector_) &&
           symbol(library, "lockScreenBackdrop", lockScreenBackdrop_) &&
           symbol(library, "_Z14goneAlertLabelB5cxx11", goneAlertLabel_) &&
           symbol(library, "_Z19goneSleepAlertLabelB5cxx11", goneSleepAlertLabel_) &&
           (drawTextInImage_ = reinterpret_cast<decltype(drawTextInImage_)>(dlsym(
                library, "_Z15drawTextInImageRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEERKSt10shared_"
                         "ptrI7UIImageE7CGPoint"))) &&
           (getTempString_ = reinterpret_cast<decltype(getTempString_)>(dlsym(library, "_Z13getTempStringB5cxx11v"))) &&
           (dateStatusString_ =
                reinterpret_cast<decltype(dateStatusString_)>(dlsym(library, "_Z16dateStatusStringB5cxx11v"))) &&
           (loadSettings_ = reinterpret_cast<CFNotificationCallback>(
                dlsym(library, "_Z12loadSettingsP20CFNotificationCenterPvPKcPKvS5_")));
}

DashboardTestApi* DashboardTestApi::start()
{
    static DashboardTestApi* api = [] () -> DashboardTestApi* {
        objc::MSHookMessageEx(objc::objc_getClass("SBLockScreenView"),
                              objc::sel_registerName("_addLockContentUnderlayWithRequester:"), &countedUnderlay,
                              &hostUnderlay);
        const std::string path =
            testsupport::buildDir() + "/device/Library/MobileSubstrate/DynamicLibraries/Vantorel.dylib";
        void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
        auto* loaded = new DashboardTestApi;
        if (!library || !loaded->find(library)) {
            delete loaded;
            return nullptr;
        }
        return loaded;
    }();
    if (api)
        api->loadSettings_(nullptr, nullptr, nullptr, nullptr, nullptr);
    hostUnderlayCalls().clear();
    return api;
}

} // namespace dashboardtest
