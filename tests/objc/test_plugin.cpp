// A shared object that registers a class when it is loaded, and only then.
#include "objc/objc.h"

class DynamicPluginThing : public objc::Object {
    OBJC_CLASS(DynamicPluginThing, objc::Object)
    int answer() const { return 42; }
};

OBJC_REGISTER(DynamicPluginThing, c.method<&DynamicPluginThing::answer>("answer");)
