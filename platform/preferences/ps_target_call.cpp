#include "preferences/ps_target_call.h"

#include <cstring>

using namespace objc;

namespace {

// The method answering the selector when its encoding is the one expected.
bool answersAs(const id& target, SEL sel, const char* encoding)
{
    if (!target || !sel)
        return false;
    Method m = class_getInstanceMethod(target->isa(), sel);
    return m && std::strcmp(method_getTypeEncoding(m), encoding) == 0;
}

} // namespace

namespace preferences {

id callGetter(const id& target, SEL getter, const id& argument)
{
    if (answersAs(target, getter, methodEncoding<id>()))
        return msgSend<id>(target, getter);
    if (answersAs(target, getter, methodEncoding<id, id>()))
        return msgSend<id>(target, getter, argument);
    return nullptr;
}

bool callSetter(const id& target, SEL setter, const id& value, const id& specifier)
{
    if (!answersAs(target, setter, methodEncoding<void, id, id>()))
        return false;
    msgSend(target, setter, value, specifier);
    return true;
}

bool callAction(const id& target, SEL action, const id& argument)
{
    if (answersAs(target, action, methodEncoding<void>()))
        msgSend(target, action);
    else if (answersAs(target, action, methodEncoding<void, id>()))
        msgSend(target, action, argument);
    else
        return false;
    return true;
}

} // namespace preferences
