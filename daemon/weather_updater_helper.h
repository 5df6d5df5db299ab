// WeatherUpdaterHelper: the weather updater's delegate in the daemon. It runs the five-minute
// timer, writes each updated city to the city weather file and announces it.
#pragma once

#include "objc/objc.h"

class VTWeatherUpdater;

class WeatherUpdaterHelper : public objc::Object {
    OBJC_CLASS(WeatherUpdaterHelper, objc::Object)
public:
    // Logs the timer line and schedules a repeating 300-second timer on the main run loop that
    // sends the updater "update".
    void startTimer();

    // "weatherUpdater:didUpdateCity:forLocation:": keep the city, write the file atomically and,
    // only when the write succeeded, post "VTdidUpdateWeather".
    void weatherUpdaterDidUpdateCityForLocation(const objc::id& updater, const objc::id& city, const objc::id& location);
    // "weatherUpdater:failedToUpdateCity:forLocation:": log it; the next tick tries again.
    void weatherUpdaterFailedToUpdateCityForLocation(const objc::id& updater, const objc::id& city,
                                                     const objc::id& location);
};

namespace vantoreld {

inline constexpr double UpdateInterval = 300.0;

// The daemon's process-wide values: the one updater and the last city it was told about.
extern std::shared_ptr<VTWeatherUpdater> weatherUpdater;
extern objc::id lastUpdatedCity;

// Start-up up to (not including) running the main run loop: log, weather store, helper,
// updater, the first update at once, the timer.
std::shared_ptr<WeatherUpdaterHelper> startDaemon();

} // namespace vantoreld
