// WeatherUpdaterDelegate: what a weather updater tells its delegate. Both messages are
// optional; the updater asks respondsToSelector: before each.
//
//   "weatherUpdater:didUpdateCity:forLocation:"       (updater, city, the city's location)
//   "weatherUpdater:failedToUpdateCity:forLocation:"  (updater, city, the city's location)
#pragma once

#include "objc/objc.h"

namespace weatherupdater {
inline objc::SEL didUpdateCitySelector() { return "weatherUpdater:didUpdateCity:forLocation:"_sel; }
inline objc::SEL failedToUpdateCitySelector() { return "weatherUpdater:failedToUpdateCity:forLocation:"_sel; }
} // namespace weatherupdater
