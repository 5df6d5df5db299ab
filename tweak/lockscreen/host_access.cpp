#include "tweak/lockscreen/host_access.h"

namespace vantorel {

objc::id makeByName(const char* className, CGRect frame)
{
    objc::Class cls = objc::objc_getClass(className);
    if (!cls)
        return nullptr;
    return objc::msgSend<objc::id>(cls->createInstance(), "initWithFrame:"_sel, frame);
}

void restartIdleTimer(const objc::id& listView)
{
    objc::msgSendIfResponds(listView, "_disableIdleTimer:"_sel, true);
    objc::msgSendIfResponds(listView, "_disableIdleTimer:"_sel, false);
    objc::msgSendIfResponds(listView, "_resetAllFadeTimers"_sel);
}

} // namespace vantorel
