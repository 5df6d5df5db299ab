// The library's replacements and additions on the host's notification list view
// (SBLockScreenNotificationListView). Each replacement reaches the host's behaviour through its
// saved slot.
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"

namespace listview {

extern void (*orig_layoutSubviews)(objc::Object* self, objc::SEL cmd);
extern double (*orig_tableViewHeightForRowAtIndexPath)(objc::Object* self, objc::SEL cmd, objc::id table,
                                                       objc::id indexPath);
extern void (*orig_scrollViewDidEndDraggingWillDecelerate)(objc::Object* self, objc::SEL cmd, objc::id scrollView,
                                                           bool decelerate);
extern objc::id (*orig_initWithFrame)(objc::Object* self, objc::SEL cmd, CGRect frame);

// Replacements.
void layoutSubviews(objc::Object* self, objc::SEL cmd);
double tableViewHeightForRowAtIndexPath(objc::Object* self, objc::SEL cmd, objc::id table, objc::id indexPath);
void scrollViewDidEndDraggingWillDecelerate(objc::Object* self, objc::SEL cmd, objc::id scrollView, bool decelerate);
objc::id initWithFrame(objc::Object* self, objc::SEL cmd, CGRect frame);

// Additions.
bool shouldDisplayIndexPath(objc::Object* self, objc::SEL cmd, objc::id indexPath);
void cornerRadiusHook(objc::Object* self, objc::SEL cmd);
void normalizePrevTap(objc::Object* self, objc::SEL cmd);
void imgCalenderTapped(objc::Object* self, objc::SEL cmd);
void imgNotificationsTapped(objc::Object* self, objc::SEL cmd);
void selectedWidgetClass(objc::Object* self, objc::SEL cmd, objc::Class widgetClass);

} // namespace listview
