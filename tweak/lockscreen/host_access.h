// Reaching the host's objects by name, as the library must: instance variables looked up at each
// use (never cached), and views of classes that may or may not be loaded made through the
// runtime. A host that lacks a variable or a class gives nil, and nil messages do nothing.
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"

#include <memory>
#include <string_view>

namespace vantorel {

// The object held in the named instance variable of the object; nil when there is no object,
// no such variable, a variable that holds no object, or an object of another kind.
template <class T = objc::Object>
std::shared_ptr<T> hostIvar(objc::Object* object, std::string_view name)
{
    if (!object)
        return nullptr;
    objc::Ivar ivar = objc::class_getInstanceVariable(object->isa(), name);
    if (!ivar || std::string_view(objc::ivar_getTypeEncoding(ivar)) != "@")
        return nullptr;
    return std::dynamic_pointer_cast<T>(objc::object_getIvar(object, ivar));
}

// alloc + initWithFrame: of the class registered under the name; nil when it is not registered.
objc::id makeByName(const char* className, CGRect frame);

// The idle-timer restart the dashboard performs after each panel change: the timer is
// disabled, enabled again and every fade countdown starts over.
void restartIdleTimer(const objc::id& listView);

} // namespace vantorel
