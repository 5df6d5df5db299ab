// Typed readings of a value of unknown kind, as read from a property-list file: a number or a
// string gives its reading with the platform's rules; any other kind (array, dictionary,
// data, nil) gives nullopt, and callers treat it as absent.
#pragma once

#include "objc/objc.h"

#include <optional>
#include <string>

namespace foundation {

// floatValue: a string "0.3" and a number 0.3 both give the float nearest to 0.3.
std::optional<float> floatValueOf(const objc::id& value);
std::optional<double> doubleValueOf(const objc::id& value);
// boolValue: a string by its first significant character ("YES", "true", "1"); a number when
// non-zero.
std::optional<bool> boolValueOf(const objc::id& value);
// intValue: a string by its leading decimal digits ("07" is 7, "6:30" is 6), a real truncated.
std::optional<int> intValueOf(const objc::id& value);
std::optional<long> integerValueOf(const objc::id& value);
// A string's text, or a number's stringValue ("1" for true, "0.5").
std::optional<std::string> stringValueOf(const objc::id& value);

} // namespace foundation
