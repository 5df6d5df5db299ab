// The two sentences of the lock screen (the greeting of the part of the day and the weather
// sentence), the current-city record they read, and the refresh of the notification table
// after the apps hub changes its selection.
#pragma once

#include "foundation/notification_center.h"
#include "objc/objc.h"

#include <string>

// The city last read from the city weather file; nil before the first read that found it.
extern objc::id currentCity;

// Rereads the city weather file into currentCity. Shaped as a Darwin-notification callback
// (arguments ignored) so that it can observe "VTdidUpdateWeather"; also called directly.
void didUpdateWeather(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object,
                      CFDictionaryRef userInfo);
inline void didUpdateWeather() { didUpdateWeather(nullptr, nullptr, nullptr, nullptr, nullptr); }

// "It's 21.5° C and Sunny currently." after rereading the city file.
std::string getTempString();
// Puts the weather sentence into the weather label (when there is one).
void showTempString();
// The part of the day now: 0 morning, 1 afternoon, 2 evening, 3 night.
long dateStatus();
// The composed greeting of the part of the day now.
std::string dateStatusString();
// Reloads the notification table and shows it only while the apps hub has a selection.
void updateNotificationTableView();
