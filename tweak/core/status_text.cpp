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

#include <cmath>

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

float temperatureValue(const objc::id& temperature)
{
    if (auto number = std::dynamic_pointer_cast<NSNumber>(temperature))
        return number->floatValue();
    if (auto text = std::dynamic_pointer_cast<NSString>(temperature))
        return text->floatValue();
    return 0;
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
        const double fahrenheit = static_cast<double>(temperatureValue(temperature)) * 9 / 5 + 32;
        degrees = std::to_string(std::lroundf(static_cast<float>(fahrenheit)));
        unit = "F";
    }
    return textOrEmpty(itsString) + " " + degrees + "\u00B0 " + unit + " " + textOrEmpty(andString) + " " +
           condition + " " + textOrEmpty(currentlyString) + ".";
}

void showTempString()
{
    if (tempStringLabel)
        tempStringLabel->setText(getTempString());
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
    if (evening <= hour && hour <= night)
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
