// A bundle executable whose Info.plist names its second class as the principal class.
#include "objc/objc.h"

class PlateFirst : public objc::Object {
    OBJC_CLASS(PlateFirst, objc::Object)
    int answer() const { return 1; }
};

class PlateSecond : public objc::Object {
    OBJC_CLASS(PlateSecond, objc::Object)
    int answer() const { return 2; }
};

OBJC_REGISTER(PlateFirst, c.method<&PlateFirst::answer>("answer");)
OBJC_REGISTER(PlateSecond, c.method<&PlateSecond::answer>("answer");)
