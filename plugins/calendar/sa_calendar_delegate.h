// SACalendarDelegate: what a month grid calendar tells its delegate. Both messages are optional
// and are sent only when the delegate answers them:
//   "SACalendar:didDisplayCalendarForMonth:year:" (calendar, int month, int year): a month
//       became the current month, or the delegate was just set;
//   "SACalendar:didSelectDate:month:year:" (calendar, int day, int month, int year): the user
//       tapped a date.
// A C++ receiver adopts them by registering methods of these signatures under those selectors.
#pragma once

#include "objc/objc.h"

class SACalendar;

namespace sacalendar {

inline objc::SEL didDisplaySelector() { return "SACalendar:didDisplayCalendarForMonth:year:"_sel; }
inline objc::SEL didSelectSelector() { return "SACalendar:didSelectDate:month:year:"_sel; }

} // namespace sacalendar
