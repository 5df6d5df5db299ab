// Calendar: the plug-in's principal view, all that the widget host sees of the plug-in. It
// holds one month grid calendar (vertical, without platform paging) made for the size it was
// created with, and is that calendar's delegate; it does nothing with the months and dates it
// is told about. The calendar keeps its size when the host later resizes this view.
//
// Ownership: the calendar is owned through the subview list; it holds this view weakly.
#pragma once

#include "uikit/view.h"

class Calendar : public UIView {
    OBJC_CLASS(Calendar, UIView)
public:
    objc::id initWithFrame(CGRect frame) override;

    void SACalendarDidSelectDateMonthYear(const objc::id& calendar, int day, int month, int year) {}
    void SACalendarDidDisplayCalendarForMonthYear(const objc::id& calendar, int month, int year) {}
};
