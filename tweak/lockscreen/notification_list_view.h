// The dashboard inside the host's notification list view (SBLockScreenNotificationListView):
// building it when the host makes the view, placing it on every layout pass, filtering the
// host's table down to the application chosen in the apps hub, and the taps that open and
// close the widget and notifications panels.
//
// Panel states (normal arrangement; the minimal one hides both icons):
//   closed              both panels and the tab hidden, top pocket and table transparent;
//   widget open         widget panel shown, tab behind the widget icon, top pocket opaque;
//   notifications open  notifications panel and the host's table shown, tab behind the
//                       notifications icon, top pocket opaque.
// One tap on an icon opens its panel from any state; two taps close everything.
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"

namespace vantorel::hooks::SBLockScreenNotificationListView {

// Replacements: each runs the host's implementation first ("scrollViewDidEndDragging:..." last).
objc::id initWithFrame(objc::Object* self, objc::SEL cmd, CGRect frame);
void layoutSubviews(objc::Object* self, objc::SEL cmd);
double tableViewHeightForRowAtIndexPath(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& table,
                                        const objc::ObjectRef& indexPath);
void scrollViewDidEndDraggingWillDecelerate(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& scrollView,
                                            bool decelerate);

// Additions.
// Whether the row's item shows with the hub's selection: items that are not bulletins always do;
// bulletins only when their application is the one selected.
bool shouldDisplayIndexPath(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& indexPath);
// Rounds the two top corners of the tab.
void cornerRadiusHook(objc::Object* self, objc::SEL cmd);
// Closes everything.
void normalizePrevTap(objc::Object* self, objc::SEL cmd);
// Opens the widget panel.
void imgCalenderTapped(objc::Object* self, objc::SEL cmd);
// Opens the notifications panel.
void imgNotificationsTapped(objc::Object* self, objc::SEL cmd);
// The widget chooser's delegate: shows the chosen plug-in in a new widget host.
void selectedWidgetClass(objc::Object* self, objc::SEL cmd, objc::Class widgetClass);

} // namespace vantorel::hooks::SBLockScreenNotificationListView
