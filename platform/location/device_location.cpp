#include "location/device_location.h"

#include "location/location_manager.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace location {

namespace {

struct DeviceLocation {
    bool enabled = true;
    CLLocationCoordinate2D position{48.7758, 9.1829};
    double fixLatency = 0.5;
    double geocodeLatency = 0.5;

    DeviceLocation()
    {
        if (const char* services = std::getenv("VANTOREL_LOCATION_SERVICES"))
            enabled = std::strcmp(services, "off") != 0 && std::strcmp(services, "0") != 0;
        if (const char* where = std::getenv("VANTOREL_LOCATION")) {
            double latitude = 0, longitude = 0;
            if (std::sscanf(where, "%lf,%lf", &latitude, &longitude) == 2 && latitude >= -90 && latitude <= 90 &&
                longitude >= -180 && longitude <= 180)
                position = {latitude, longitude};
        }
    }
};

DeviceLocation& device()
{
    static DeviceLocation state;
    return state;
}

} // namespace

bool locationServicesEnabled() { return device().enabled; }
void setLocationServicesEnabled(bool enabled) { device().enabled = enabled; }
CLLocationCoordinate2D devicePosition() { return device().position; }

void setDevicePosition(CLLocationCoordinate2D position)
{
    device().position = position;
    CLLocationManager::deviceMoved();
}

double fixLatency() { return device().fixLatency; }
void setFixLatency(double seconds) { device().fixLatency = seconds < 0 ? 0 : seconds; }
double geocodeLatency() { return device().geocodeLatency; }
void setGeocodeLatency(double seconds) { device().geocodeLatency = seconds < 0 ? 0 : seconds; }

} // namespace location
