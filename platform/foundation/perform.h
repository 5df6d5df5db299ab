// Delayed performs: a message sent to a target later, on the main run loop. With delay 0 it is
// sent on the run loop's next pass, never from inside the call that asks for it. Until it is
// sent (or cancelled) the request holds its target and its object.
//
// Also answered through the runtime by every object: "performSelector:withObject:afterDelay:",
// and by every class: "cancelPreviousPerformRequestsWithTarget:".
#pragma once

#include "objc/objc.h"

namespace foundation {

// The action takes no argument or the object ("v@:" or "v@:@"); any other signature stops with
// a diagnostic when it is sent. A nil target asks for nothing.
void performSelectorWithObjectAfterDelay(const objc::id& target, objc::SEL selector, const objc::id& object,
                                         double delay);
// Cancels every request still waiting for the target.
void cancelPreviousPerformRequestsWithTarget(const objc::id& target);
// Cancels the target's requests for that selector whose object is equal (isEqual) to the given
// one, or also nil.
void cancelPreviousPerformRequestsWithTargetSelectorObject(const objc::id& target, objc::SEL selector,
                                                           const objc::id& object);

} // namespace foundation
