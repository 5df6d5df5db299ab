// WidgetSelectorDelegate: what the widget chooser's delegate answers (the host's notification
// list view). Its one operation, sent through the runtime once the chosen plug-in's bundle is
// loaded:
//   selectedWidgetClass: (the plug-in's principal class, nil when it has none) -> nothing
#pragma once

#include "objc/objc.h"

struct WidgetSelectorDelegate {
    static constexpr const char* selectedWidgetClass = "selectedWidgetClass:";
    static constexpr const char* selectedWidgetClassTypes = "v@:#";

    // Tells the delegate (nil: nobody) which plug-in class was chosen.
    static void sendSelectedWidgetClass(const objc::id& delegate, objc::Class chosen)
    {
        objc::msgSend(delegate, objc::sel_registerName(selectedWidgetClass), chosen);
    }
};
