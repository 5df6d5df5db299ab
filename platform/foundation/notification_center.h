// The Darwin notification centre: system-wide notifications that carry a name and nothing else.
// A posted name reaches every observer of that name in every process on the session bus,
// including observers in the posting process (once each), always on the receiving process's main
// run loop: never from inside the post, never on another thread. With no bus reachable, delivery
// stays within the process, silently.
//
// On the wire a notification is the signal com.vantorel.DarwinNotify.Notify on the object path
// /com/vantorel/DarwinNotify with the name as its one string argument, so that scripts can post
// with dbus-send. Names are matched on the receiving side, never put into bus match rules, so any
// name (spaces, quotes, kilobytes long) is safe. A name that is not valid UTF-8 cannot be a bus
// string and is delivered within the posting process only.
//
// Called off the main thread, adding, removing and posting are handed to the main run loop.
#pragma once

#include <string>

struct CFNotificationCenter;
using CFNotificationCenterRef = CFNotificationCenter*;
using CFStringRef = const char*;
using CFDictionaryRef = const void*; // no user information travels: always null here

using CFNotificationCallback = void (*)(CFNotificationCenterRef center, void* observer, CFStringRef name,
                                        const void* object, CFDictionaryRef userInfo);

// Accepted and ignored: every behaviour delivers on the observer's next run-loop pass.
enum CFNotificationSuspensionBehavior : long {
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

// A constant string, as the platform writes them.
constexpr CFStringRef CFSTR(const char* text) { return text; }

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// Observes the name. The observer pointer is only a key (handed back to the callback, used to
// remove); the object is ignored. Adding the same observer for the same name again replaces its
// callback. A null centre, callback or name adds nothing.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, CFStringRef name, const void* object,
                                     long suspensionBehavior);
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, const std::string& name, const void* object,
                                     long suspensionBehavior);
// Stops the observer's callbacks for the name, or for every name when the name is null.
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer, CFStringRef name,
                                        const void* object);
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);
// Posts the name to every process on the bus. Object and user information are not carried; every
// post is delivered as soon as each receiver's run loop gets to it.
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name, const void* object,
                                          CFDictionaryRef userInfo, bool deliverImmediately);
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, const std::string& name,
                                          const void* object, CFDictionaryRef userInfo, bool deliverImmediately);
