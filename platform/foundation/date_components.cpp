#include "foundation/date_components.h"

long* NSDateComponents::field(unsigned long unit)
{
    switch (unit) {
    case NSCalendarUnitEra: return &era_;
    case NSCalendarUnitYear: return &year_;
    case NSCalendarUnitMonth: return &month_;
    case NSCalendarUnitDay: return &day_;
    case NSCalendarUnitHour: return &hour_;
    case NSCalendarUnitMinute: return &minute_;
    case NSCalendarUnitSecond: return &second_;
    case NSCalendarUnitWeekday: return &weekday_;
    case NSCalendarUnitWeekOfMonth: return &weekOfMonth_;
    case NSCalendarUnitWeekOfYear: return &weekOfYear_;
    default: return nullptr;
    }
}

long NSDateComponents::valueForComponent(unsigned long unit) const
{
    const long* value = const_cast<NSDateComponents*>(this)->field(unit);
    return value ? *value : NSDateComponentUndefined;
}

void NSDateComponents::setValueForComponent(long value, unsigned long unit)
{
    if (long* f = field(unit))
        *f = value;
}

OBJC_REGISTER(NSDateComponents,
    c.method<&NSDateComponents::era>("era");
    c.method<&NSDateComponents::year>("year");
    c.method<&NSDateComponents::month>("month");
    c.method<&NSDateComponents::day>("day");
    c.method<&NSDateComponents::hour>("hour");
    c.method<&NSDateComponents::minute>("minute");
    c.method<&NSDateComponents::second>("second");
    c.method<&NSDateComponents::weekday>("weekday");
    c.method<&NSDateComponents::weekOfMonth>("weekOfMonth");
    c.method<&NSDateComponents::weekOfYear>("weekOfYear");
    c.method<&NSDateComponents::setEra>("setEra:");
    c.method<&NSDateComponents::setYear>("setYear:");
    c.method<&NSDateComponents::setMonth>("setMonth:");
    c.method<&NSDateComponents::setDay>("setDay:");
    c.method<&NSDateComponents::setHour>("setHour:");
    c.method<&NSDateComponents::setMinute>("setMinute:");
    c.method<&NSDateComponents::setSecond>("setSecond:");
    c.method<&NSDateComponents::setWeekday>("setWeekday:");
    c.method<&NSDateComponents::setWeekOfMonth>("setWeekOfMonth:");
    c.method<&NSDateComponents::setWeekOfYear>("setWeekOfYear:");
    c.method<&NSDateComponents::valueForComponent>("valueForComponent:");
    c.method<&NSDateComponents::setValueForComponent>("setValue:forComponent:");)
