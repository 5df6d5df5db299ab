#include "daemon/weather_updater_helper.h"

#include "common/city_file.h"
#include "daemon/weather_updater.h"
#include "foundation/log.h"
#include "foundation/notification_center.h"
#include "foundation/timer.h"

namespace vantoreld {

std::shared_ptr<VTWeatherUpdater> weatherUpdater;
objc::id lastUpdatedCity;

std::shared_ptr<WeatherUpdaterHelper> startDaemon()
{
    NSLog("**** Run Vantoreld");
    vantorel::weatherStore();
    auto helper = std::make_shared<WeatherUpdaterHelper>();
    if (!weatherUpdater)
        weatherUpdater = objc::msgSend<std::shared_ptr<VTWeatherUpdater>>(objc::alloc<VTWeatherUpdater>(), "init"_sel);
    weatherUpdater->setDelegate(helper);
    objc::msgSend(weatherUpdater, "update"_sel);
    helper->startTimer();
    return helper;
}

} // namespace vantoreld

void WeatherUpdaterHelper::startTimer()
{
    NSLog("*** Weather Update Timer Started");
    NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(vantoreld::UpdateInterval,
                                                                         vantoreld::weatherUpdater, "update"_sel,
                                                                         nullptr, true);
}

void WeatherUpdaterHelper::weatherUpdaterDidUpdateCityForLocation(const objc::id&, const objc::id& city, const objc::id&)
{
    vantoreld::lastUpdatedCity = city;
    NSLog("*** Weather Updated");
    if (!vantorel::writeCityFile(city))
        return;
    NSLog("*** Weather update saved to file");
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), CFSTR("VTdidUpdateWeather"),
                                         nullptr, nullptr, true);
}

void WeatherUpdaterHelper::weatherUpdaterFailedToUpdateCityForLocation(const objc::id&, const objc::id& city,
                                                                      const objc::id&)
{
    NSLog("*** Failed to updated city = %@", city);
}

OBJC_REGISTER(WeatherUpdaterHelper,
    c.method<&WeatherUpdaterHelper::startTimer>("startTimer");
    c.method<&WeatherUpdaterHelper::weatherUpdaterDidUpdateCityForLocation>("weatherUpdater:didUpdateCity:forLocation:");
    c.method<&WeatherUpdaterHelper::weatherUpdaterFailedToUpdateCityForLocation>(
        "weatherUpdater:failedToUpdateCity:forLocation:");)
