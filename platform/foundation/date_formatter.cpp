#include "foundation/date_formatter.h"

#include "foundation/calendar.h"
#include "foundation/calendar_icu.h"
#include "foundation/date.h"
#include "foundation/locale.h"
#include "foundation/timezone.h"

#include <unicode/smpdtfmt.h>

#include <cmath>
#include <map>
#include <tuple>

namespace bridge = foundation::icu_bridge;

namespace {

// The device's zone and locale may change between uses, so they are read at each use; the ICU
// formatter for a pattern, locale, calendar, zone and leniency is built once per thread and kept
// (a few of them: the set of formats a process uses is small). ICU formatters are not safe to
// share between threads.
std::unique_ptr<icu::SimpleDateFormat> makeFormat(const std::string& pattern, const NSLocale& locale,
                                                  const NSCalendar* calendar, const NSTimeZone& zone, bool lenient)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale where = bridge::locale(locale.localeIdentifier());
    auto format = std::make_unique<icu::SimpleDateFormat>(bridge::unicode(pattern), where, status);
    if (U_FAILURE(status))
        return nullptr;
    if (calendar) {
        auto cal = bridge::calendar(calendar->calendarIdentifier(), zone.name(), locale.localeIdentifier());
        if (!cal)
            return nullptr;
        format->adoptCalendar(cal.release());
    }
    format->adoptTimeZone(bridge::zoneOrUTC(zone.name()).release());
    format->setLenient(lenient);
    return format;
}

// True when the pattern shows nothing finer than a second (no fraction, no milliseconds in
// the day): two dates within the same second then read the same.
bool showsWholeSecondsAtMost(const std::string& pattern)
{
    bool quoted = false;
    for (char c : pattern) {
        if (c == '\'')
            quoted = !quoted;
        else if (!quoted && (c == 'S' || c == 'A'))
            return false;
    }
    return true;
}

// A kept formatter, with the last date it wrote when its pattern stops at seconds: a clock that
// is shown at every layout pass is formatted once a second.
struct KeptFormat {
    std::unique_ptr<icu::SimpleDateFormat> format;
    bool wholeSeconds = false;
    double lastSecond = NAN;
    std::string lastText;
};

KeptFormat* keptFormat(const std::string& pattern, const NSLocale& locale, const NSCalendar* calendar,
                       const NSTimeZone& zone, bool lenient)
{
    constexpr std::size_t kKept = 32;
    using Key = std::tuple<std::string, std::string, std::string, std::string, bool>;
    thread_local std::map<Key, KeptFormat> kept;
    Key key{pattern, locale.localeIdentifier(), calendar ? calendar->calendarIdentifier() : std::string("\n"),
            zone.name(), lenient};
    if (auto found = kept.find(key); found != kept.end())
        return &found->second;
    auto format = makeFormat(pattern, locale, calendar, zone, lenient);
    if (!format)
        return nullptr; // rare (a bad pattern or calendar): not kept, asked again next time
    if (kept.size() >= kKept)
        kept.clear();
    KeptFormat& made = kept[std::move(key)];
    made.format = std::move(format);
    made.wholeSeconds = showsWholeSecondsAtMost(pattern);
    return &made;
}

} // namespace

std::shared_ptr<NSLocale> NSDateFormatter::locale() const { return locale_ ? locale_ : NSLocale::currentLocale(); }

std::shared_ptr<NSTimeZone> NSDateFormatter::timeZone() const { return timeZone_ ? timeZone_ : NSTimeZone::localTimeZone(); }

std::string NSDateFormatter::stringFromDate(const std::shared_ptr<NSDate>& date) const
{
    if (!date || !std::isfinite(date->timeIntervalSince1970()))
        return {};
    KeptFormat* kept = keptFormat(pattern_, *locale(), calendar_.get(), *timeZone(), lenient_);
    if (!kept)
        return {};
    const double second = std::floor(date->timeIntervalSince1970());
    if (kept->wholeSeconds && second == kept->lastSecond)
        return kept->lastText;
    icu::UnicodeString text;
    icu::FieldPosition position;
    UErrorCode status = U_ZERO_ERROR;
    kept->format->format(bridge::toUDate(date->timeIntervalSince1970()), text, position, status);
    if (U_FAILURE(status))
        return {};
    kept->lastSecond = second;
    kept->lastText = bridge::utf8(text);
    return kept->lastText;
}

std::shared_ptr<NSDate> NSDateFormatter::dateFromString(const std::string& text) const
{
    if (pattern_.empty())
        return nullptr;
    KeptFormat* kept = keptFormat(pattern_, *locale(), calendar_.get(), *timeZone(), lenient_);
    if (!kept)
        return nullptr;
    const icu::UnicodeString input = bridge::unicode(text);
    icu::ParsePosition position(0);
    const UDate when = kept->format->parse(input, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != input.length() || input.isEmpty())
        return nullptr;
    return NSDate::dateWithTimeIntervalSince1970(bridge::fromUDate(when));
}

OBJC_REGISTER(NSDateFormatter,
    c.method<&NSDateFormatter::setLocale>("setLocale:");
    c.method<&NSDateFormatter::locale>("locale");
    c.method<&NSDateFormatter::setCalendar>("setCalendar:");
    c.method<&NSDateFormatter::calendar>("calendar");
    c.method<&NSDateFormatter::setTimeZone>("setTimeZone:");
    c.method<&NSDateFormatter::timeZone>("timeZone");
    c.method<&NSDateFormatter::setFormatterBehavior>("setFormatterBehavior:");
    c.method<&NSDateFormatter::formatterBehavior>("formatterBehavior");
    c.method<&NSDateFormatter::setLenient>("setLenient:");
    c.method<&NSDateFormatter::isLenient>("isLenient");)
