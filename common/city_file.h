// The city weather file: one city record, written whole and atomically by the weather daemon,
// read whole by the library and the weather plug-in. Only the weather store's own dictionary
// form ("preferencesDictionaryForCity:" / "cityFromPreferencesDictionary:") is used: no key of
// the file is read or written here.
#pragma once

#include "objc/objc.h"

namespace vantorel {

// [WeatherPreferences sharedPreferences], the class found by name on first use and kept.
// nil when the weather framework is not in the process.
objc::id weatherStore();
// The city in the file; nil when the file is missing, unreadable or not a city.
objc::id readCityFile();
// Replaces the file with the city; false (and the old file kept) when the write fails.
bool writeCityFile(const objc::id& city);

} // namespace vantorel
