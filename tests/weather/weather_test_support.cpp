#include "weather_test_support.h"

namespace weathertest {

OBJC_REGISTER(PhoneLocation,
    c.method<&PhoneLocation::coordinate>("coordinate");)

} // namespace weathertest
