#include "calendar.h"

#include "sa_calendar.h"

using namespace objc;

// Registered first in the bundle's executable: the principal class is also its first class.
OBJC_REGISTER(Calendar,
    c.method<&Calendar::SACalendarDidSelectDateMonthYear>("SACalendar:didSelectDate:month:year:");
    c.method<&Calendar::SACalendarDidDisplayCalendarForMonthYear>("SACalendar:didDisplayCalendarForMonth:year:");)

id Calendar::initWithFrame(CGRect frame)
{
    id made = UIView::initWithFrame(frame);
    if (!made)
        return nullptr;
    auto calendar = objc::alloc<SACalendar>();
    if (!calendar || !calendar->initWithFrameScrollDirectionPagingEnabled(
                         bounds(), static_cast<int>(QPLazyScrollViewDirectionVertical), false))
        return made;
    calendar->setDelegate(made);
    addSubview(calendar);
    return made;
}
