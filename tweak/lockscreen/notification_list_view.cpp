#include "tweak/lockscreen/notification_list_view.h"

// The dashboard is built here; until then each replacement keeps the host's behaviour and the
// additions answer without effect (every row is displayed).

namespace listview {

void (*orig_layoutSubviews)(objc::Object*, objc::SEL);
double (*orig_tableViewHeightForRowAtIndexPath)(objc::Object*, objc::SEL, objc::id, objc::id);
void (*orig_scrollViewDidEndDraggingWillDecelerate)(objc::Object*, objc::SEL, objc::id, bool);
objc::id (*orig_initWithFrame)(objc::Object*, objc::SEL, CGRect);

void layoutSubviews(objc::Object* self, objc::SEL cmd)
{
    if (orig_layoutSubviews)
        orig_layoutSubviews(self, cmd);
}

double tableViewHeightForRowAtIndexPath(objc::Object* self, objc::SEL cmd, objc::id table, objc::id indexPath)
{
    return orig_tableViewHeightForRowAtIndexPath ? orig_tableViewHeightForRowAtIndexPath(self, cmd, table, indexPath)
                                                 : 0.0;
}

void scrollViewDidEndDraggingWillDecelerate(objc::Object* self, objc::SEL cmd, objc::id scrollView, bool decelerate)
{
    if (orig_scrollViewDidEndDraggingWillDecelerate)
        orig_scrollViewDidEndDraggingWillDecelerate(self, cmd, scrollView, decelerate);
}

objc::id initWithFrame(objc::Object* self, objc::SEL cmd, CGRect frame)
{
    return orig_initWithFrame ? orig_initWithFrame(self, cmd, frame) : nullptr;
}

bool shouldDisplayIndexPath(objc::Object*, objc::SEL, objc::id) { return true; }
void cornerRadiusHook(objc::Object*, objc::SEL) {}
void normalizePrevTap(objc::Object*, objc::SEL) {}
void imgCalenderTapped(objc::Object*, objc::SEL) {}
void imgNotificationsTapped(objc::Object*, objc::SEL) {}
void selectedWidgetClass(objc::Object*, objc::SEL, objc::Class) {}

} // namespace listview
