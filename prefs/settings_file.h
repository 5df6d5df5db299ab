// The settings file as the preference bundle reads and writes it: read whole on every use, and
// changed by read-merge-write cycles that replace it atomically, one key at a time.
#pragma once

#include "foundation/ns_dictionary.h"
#include "objc/objc.h"

#include <memory>
#include <string>

namespace vantorel::prefs {

// Every entry of the file; an empty dictionary when it is missing or cannot be read.
std::shared_ptr<NSMutableDictionary> readSettingsFile();
// The value stored under the key, or nil.
objc::id storedSetting(const std::string& key);
// Stores the value under the key and keeps every other entry. A file that is there but cannot
// be read is first moved aside to "<file>.unreadable" (or "<file>.unreadable.<n>", the first
// name that is free), so that whatever it holds survives; when it cannot be moved, nothing is
// written. False when the file was not written.
bool writeSetting(const std::string& key, const objc::id& value);

} // namespace vantorel::prefs
