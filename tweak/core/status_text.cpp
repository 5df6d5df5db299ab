#include "tweak/core/status_text.h"

#include "common/city_file.h"
#include "foundation/calendar.h"
#include "foundation/date.h"
#include "foundation/ns_number.h"
#include "foundation/ns_string.h"
#include "tweak/core/localization.h"
#include "tweak/core/settings.h"
#include "tweak/lockscreen/dashboard_views.h"
#include "uikit/label.h"
#include "uikit/table_view.h"

#include <cctype>
#include <cmath>
#include <optional>

constinit objc::id currentCity;

void didUpdateWeather(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    currentCity = vantorel::readCityFile();
}

namespace {

// The temperature object reads as text (Celsius, shown as stored) and as a number.
std::string temperatureText(const objc::id& temperature)
{
    return temperature ? temperature->description() : std::string();
}

// The temperature as a number, or nothing when there is none to convert: no temperature, a
// text that does not start with a number, or a value that is not finite in single precision.
// Fahrenheit then shows no number, as Celsius does for a missing temperature, rather than the
// 32 degrees of a temperature of 0 that was never measured.
std::optional<float> temperatureValue(const objc::id& temperature)
{
    float value = 0;
    if (auto number = std::dynamic_pointer_cast<NSNumber>(temperature)) {
        value = number->floatValue();
    } else if (auto text = std::dynamic_pointer_cast<NSString>(temperature)) {
        // floatValue reads 0 for a text without a leading number: look for one first.
        const std::string& s = text->string();
        std::size_t i = s.find_first_not_of(" \t\n\r\f\v");
        if (i == std::string::npos)
            return std::nullopt;
        if (s[i] == '+' || s[i] == '-')
            ++i;
        if (i < s.size() && s[i] == '.')
            ++i;
        if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i])))
            return std::nullopt;
        value = text->floatValue();
    } else {
        return std::nullopt;
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

// t × 9 ÷ 5 + 32 in double precision, narrowed to single precision and rounded half away from
// zero; empty when the result lies outside what a whole number can hold.
std::string fahrenheitText(float celsius)
{
    const float fahrenheit = static_cast<float>(static_cast<double>(celsius) * 9 / 5 + 32);
    constexpr float kLimit = 9.0e15f; // well inside long, so lroundf stays defined
    if (!std::isfinite(fahrenheit) || std::fabs(fahrenheit) > kLimit)
        return {};
    return std::to_string(std::lroundf(fahrenheit));
}

// A day-part setting reduced to its hour: "06:00" becomes "06" and is stored back, so later
// calls find it reduced; two characters or fewer stay as they are. Read as leading digits.
long reducedHour(std::string& setting)
{
    if (setting.size() >= 3)
        setting.erase(setting.size() - 3);
    return NSString(setting).intValue();
}

long currentHour()
{
    return NSCalendar::currentCalendar()->component(NSCalendarUnitHour, NSDate::date());
}

} // namespace

std::string getTempString()
{
    didUpdateWeather();
    const objc::id temperature = objc::msgSend<objc::id>(currentCity, "temperature"_sel);
    const long code = objc::msgSend<long>(currentCity, "conditionCode"_sel);
    const std::string& condition = textOrEmpty(conditionWordForCode(code));

    std::string degrees;
    std::string unit;
    if (objc::msgSend<bool>(vantorel::weatherStore(), "isCelsius"_sel)) {
        degrees = temperatureText(temperature);
        unit = "C";
    } else {
        if (const auto celsius = temperatureValue(temperature))
            degrees = fahrenheitText(*celsius);
        unit = "F";
    }
    return textOrEmpty(itsString) + " " + degrees + "\u00B0 " + unit + " " + textOrEmpty(andString) + " " +
           condition + " " + textOrEmpty(currentlyString) + ".";
}

void showTempString()
{
    // The sentence is composed (and so the city file reread) even with no label to show it in.
    const std::string sentence = getTempString();
    if (tempStringLabel)
        tempStringLabel->setText(sentence);
}

long dateStatus()
{
    using vantorel::settings;
    const long hour = currentHour();
    const long morning = reducedHour(settings.morningStart);
    const long afternoon = reducedHour(settings.afternoonStart);
    const long evening = reducedHour(settings.eveningStart);
    const long night = reducedHour(settings.nightStart);
    if (morning <= hour && hour < afternoon)
        return 0;
    if (afternoon <= hour && hour < evening)
        return 1;
    // The night-start hour itself still counts as evening. A night that starts after midnight
    // (evening 20, night 2) makes the evening run across midnight up to that hour.
    const bool inEvening = night < evening ? (evening <= hour || hour <= night) : (evening <= hour && hour <= night);
    if (inEvening)
        return 2;
    return 3;
}

std::string dateStatusString()
{
    switch (dateStatus()) {
    case 0:
        return textOrEmpty(morningString);
    case 1:
        return textOrEmpty(afternoonString);
    case 2:
        return textOrEmpty(eveningString);
    default:
        return textOrEmpty(nightString);
    }
}

void updateNotificationTableView()
{
    if (notificationTableView)
        notificationTableView->reloadData();
    objc::msgSend(notificationListView, "_disableIdleTimer:"_sel, true);
    objc::msgSend(notificationListView, "_disableIdleTimer:"_sel, false);
    objc::msgSend(notificationListView, "_resetAllFadeTimers"_sel);
    UIView::animateWithDurationAnimations(0.4, [] {
        const bool selected = objc::msgSend<objc::id>(appsHub, "selectedID"_sel) != nullptr;
        for (UIView* view : {static_cast<UIView*>(notificationTableView.get()), minimalTablePanel.get()}) {
            if (!view)
                continue;
            view->setAlpha(selected ? 1 : 0);
            view->setHidden(!selected);
        }
    });
}
