#include "foundation/date.h"

#include "foundation/clock.h"

#include <cmath>
#include <cstdio>
#include <ctime>

NSDate::NSDate() : since1970_(foundation::now()) {}

std::shared_ptr<NSDate> NSDate::date() { return std::make_shared<NSDate>(foundation::now()); }

std::shared_ptr<NSDate> NSDate::dateWithTimeIntervalSince1970(NSTimeInterval seconds)
{
    return std::make_shared<NSDate>(seconds);
}

std::shared_ptr<NSDate> NSDate::dateWithTimeIntervalSinceNow(NSTimeInterval seconds)
{
    return std::make_shared<NSDate>(foundation::now() + seconds);
}

std::shared_ptr<NSDate> NSDate::dateWithTimeIntervalSinceReferenceDate(NSTimeInterval seconds)
{
    return std::make_shared<NSDate>(NSTimeIntervalSince1970 + seconds);
}

// The platform's far dates: about the years 1 and 4001.
std::shared_ptr<NSDate> NSDate::distantPast() { return dateWithTimeIntervalSinceReferenceDate(-63114076800.0); }
std::shared_ptr<NSDate> NSDate::distantFuture() { return dateWithTimeIntervalSinceReferenceDate(63113904000.0); }

NSTimeInterval NSDate::timeIntervalSinceNow() const { return since1970_ - foundation::now(); }

NSTimeInterval NSDate::timeIntervalSinceDate(const std::shared_ptr<NSDate>& other) const
{
    return since1970_ - (other ? other->since1970_ : 0);
}

std::shared_ptr<NSDate> NSDate::dateByAddingTimeInterval(NSTimeInterval seconds) const
{
    return std::make_shared<NSDate>(since1970_ + seconds);
}

long NSDate::compare(const std::shared_ptr<NSDate>& other) const
{
    if (!other || since1970_ > other->since1970_)
        return 1;
    return since1970_ < other->since1970_ ? -1 : 0;
}

std::shared_ptr<NSDate> NSDate::earlierDate(const std::shared_ptr<NSDate>& other)
{
    if (other && other->since1970_ < since1970_)
        return other;
    return selfAs<NSDate>();
}

std::shared_ptr<NSDate> NSDate::laterDate(const std::shared_ptr<NSDate>& other)
{
    if (other && other->since1970_ > since1970_)
        return other;
    return selfAs<NSDate>();
}

std::string NSDate::description() const
{
    if (!std::isfinite(since1970_))
        return "(invalid date)";
    const auto whole = static_cast<std::time_t>(std::floor(since1970_));
    std::tm utc{};
    if (!gmtime_r(&whole, &utc))
        return "(invalid date)";
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d +0000", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

bool NSDate::isEqual(const objc::Object* other) const
{
    auto* date = dynamic_cast<const NSDate*>(other);
    return date && date->since1970_ == since1970_;
}

OBJC_REGISTER(NSDate,
    c.classMethod<&NSDate::date>("date");
    c.classMethod<&NSDate::dateWithTimeIntervalSince1970>("dateWithTimeIntervalSince1970:");
    c.classMethod<&NSDate::dateWithTimeIntervalSinceNow>("dateWithTimeIntervalSinceNow:");
    c.classMethod<&NSDate::dateWithTimeIntervalSinceReferenceDate>("dateWithTimeIntervalSinceReferenceDate:");
    c.classMethod<&NSDate::distantPast>("distantPast");
    c.classMethod<&NSDate::distantFuture>("distantFuture");
    c.method<&NSDate::timeIntervalSince1970>("timeIntervalSince1970");
    c.method<&NSDate::timeIntervalSinceReferenceDate>("timeIntervalSinceReferenceDate");
    c.method<&NSDate::timeIntervalSinceNow>("timeIntervalSinceNow");
    c.method<&NSDate::timeIntervalSinceDate>("timeIntervalSinceDate:");
    c.method<&NSDate::dateByAddingTimeInterval>("dateByAddingTimeInterval:");
    c.method<&NSDate::compare>("compare:");
    c.method<&NSDate::isEqualToDate>("isEqualToDate:");
    c.method<&NSDate::earlierDate>("earlierDate:");
    c.method<&NSDate::laterDate>("laterDate:");)
