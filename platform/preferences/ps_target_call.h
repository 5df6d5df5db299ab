// Messages to a specifier's target by selectors that come from data (a specifier list names
// its getters, setters, actions and data sources as text). A selector the target does not
// answer, or answers with another shape, is treated as absent, so a mistyped name in a list
// leaves its row empty instead of stopping the Settings application.
#pragma once

#include "objc/objc.h"

namespace preferences {

// "@@:" (no argument) or, for a selector ending in ':', "@@:@" with the argument. Nil otherwise.
objc::id callGetter(const objc::id& target, objc::SEL getter, const objc::id& argument);
// "v@:@@" with the value and the specifier. False when the target cannot take it.
bool callSetter(const objc::id& target, objc::SEL setter, const objc::id& value, const objc::id& specifier);
// "v@:" or "v@:@" with the argument. False when the target cannot take it.
bool callAction(const objc::id& target, objc::SEL action, const objc::id& argument);

} // namespace preferences
