// Test access to a notification list view: while it lives, counts the drags of the view's table
// that end with the list pulled down past its top. It watches the view's end-of-drag message
// through the runtime, where a library's replacement would see it too, and puts the host's
// implementation back when it goes. One at a time.
#pragma once

#include "objc/hook.h"
#include "springboard/notification_list_view.h"
#include "uikit/scroll_view.h"

#include <cassert>

class NotificationListViewTestApi {
public:
    explicit NotificationListViewTestApi(const SBLockScreenNotificationListView* view)
    {
        assert(!watched_ && "one NotificationListViewTestApi at a time");
        watched_ = view;
        pullDowns_ = 0;
        objc::MSHookMessageEx(SBLockScreenNotificationListView::class_(), selector(), &endDragging, &host_);
    }
    ~NotificationListViewTestApi()
    {
        EndDragging replaced = nullptr;
        objc::MSHookMessageEx(SBLockScreenNotificationListView::class_(), selector(), host_, &replaced);
        watched_ = nullptr;
    }
    NotificationListViewTestApi(const NotificationListViewTestApi&) = delete;
    NotificationListViewTestApi& operator=(const NotificationListViewTestApi&) = delete;

    long pullDownCount() const { return pullDowns_; }

private:
    using EndDragging = void (*)(objc::Object*, objc::SEL, const objc::ObjectRef&, bool);

    static objc::SEL selector() { return "scrollViewDidEndDragging:willDecelerate:"_sel; }
    static void endDragging(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& scrollView, bool decelerate)
    {
        host_(self, cmd, scrollView, decelerate);
        const auto* scroll = dynamic_cast<const UIScrollView*>(scrollView.get());
        if (self == watched_ && scroll && scroll->contentOffset().y < 0)
            ++pullDowns_;
    }

    static inline EndDragging host_ = nullptr;
    static inline const objc::Object* watched_ = nullptr;
    static inline long pullDowns_ = 0;
};
