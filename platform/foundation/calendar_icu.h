// Inside the foundation library only: the ICU objects behind time zones, locales, calendars and
// date formatters.
#pragma once

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <memory>
#include <string>

namespace foundation::icu_bridge {

inline icu::UnicodeString unicode(const std::string& text) { return icu::UnicodeString::fromUTF8(text); }

inline std::string utf8(const icu::UnicodeString& text)
{
    std::string out;
    text.toUTF8String(out);
    return out;
}

// nullptr for a name ICU does not know. Each thread keeps the zones it made, by name, and hands
// out copies (much cheaper than making them).
std::unique_ptr<icu::TimeZone> timeZone(const std::string& name);

// The device zone or UTC: never nullptr.
std::unique_ptr<icu::TimeZone> zoneOrUTC(const std::string& name);

inline icu::Locale locale(const std::string& identifier) { return icu::Locale::createCanonical(identifier.c_str()); }

// ICU's calendar type for a platform calendar identifier ("gregorian", "republic-of-china", ...).
std::string icuCalendarType(const std::string& identifier);

// A calendar of that type in that zone and locale; nullptr for a type ICU does not have.
std::unique_ptr<icu::Calendar> calendar(const std::string& identifier, const std::string& zone,
                                        const std::string& localeIdentifier);

// ICU counts milliseconds.
inline UDate toUDate(double epochSeconds) { return epochSeconds * 1000.0; }
inline double fromUDate(UDate date) { return date / 1000.0; }

} // namespace foundation::icu_bridge
