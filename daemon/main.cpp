// vantoreld: keeps the city weather file fresh for the device's location, every five minutes.
#include "daemon/weather_updater_helper.h"
#include "foundation/runloop.h"

int main()
{
    auto helper = vantoreld::startDaemon();
    NSRunLoop::mainRunLoop()->run();
    return 0;
}
