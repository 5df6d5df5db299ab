// NSDateFormatter: instants to text and back with a Unicode date pattern ("yyyy-MM-dd",
// "EEEE", "ha"), in a locale, a calendar and a time zone. Unset, these are the device's locale,
// that locale's calendar and the device's time zone, read at each use. Parsing is strict: the
// whole text must match the pattern and name a real date ("25:99" is no time).
#pragma once

#include "objc/objc.h"

#include <memory>
#include <string>

class NSCalendar;
class NSDate;
class NSLocale;
class NSTimeZone;

// Formatter behaviours of the platform; only stored.
inline constexpr long NSDateFormatterBehaviorDefault = 0;
inline constexpr long NSDateFormatterBehavior10_4 = 1040;

class NSDateFormatter : public objc::Object {
    OBJC_CLASS(NSDateFormatter, objc::Object)
public:
    void setDateFormat(const std::string& pattern) { pattern_ = pattern; }
    const std::string& dateFormat() const { return pattern_; }
    void setLocale(const std::shared_ptr<NSLocale>& locale) { locale_ = locale; }
    // The locale in use: the one set, else the device's.
    std::shared_ptr<NSLocale> locale() const;
    void setCalendar(const std::shared_ptr<NSCalendar>& calendar) { calendar_ = calendar; }
    // The calendar set, or nil for the locale's own.
    const std::shared_ptr<NSCalendar>& calendar() const { return calendar_; }
    void setTimeZone(const std::shared_ptr<NSTimeZone>& zone) { timeZone_ = zone; }
    // The zone in use: the one set, else the device's.
    std::shared_ptr<NSTimeZone> timeZone() const;
    void setFormatterBehavior(long behavior) { behavior_ = behavior; }
    long formatterBehavior() const { return behavior_; }
    // Lenient parsing also takes out-of-range fields and loose text; off by default.
    void setLenient(bool lenient) { lenient_ = lenient; }
    bool isLenient() const { return lenient_; }

    // "" for a nil date, a date too far out for the calendar, or an invalid pattern.
    std::string stringFromDate(const std::shared_ptr<NSDate>& date) const;
    // nil unless the whole text parses. Fields the pattern lacks take the start of 1970 in the
    // formatter's zone ("15:00" with "HH:mm" is 15:00 on 1 January 1970).
    std::shared_ptr<NSDate> dateFromString(const std::string& text) const;

private:
    std::string pattern_;
    std::shared_ptr<NSLocale> locale_;
    std::shared_ptr<NSCalendar> calendar_;
    std::shared_ptr<NSTimeZone> timeZone_;
    long behavior_ = NSDateFormatterBehaviorDefault;
    bool lenient_ = false;
};
