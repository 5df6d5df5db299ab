// The simulated device's position and whether location services are on: settings of the
// device, read from the environment the device starts its processes with
// (VANTOREL_LOCATION="<latitude>,<longitude>", VANTOREL_LOCATION_SERVICES="on"/"off"), and
// settable in-process for tests and scenarios. By default services are on and the device
// stands in Stuttgart.
#pragma once

#include "location/location.h"

#include <optional>

namespace location {

bool locationServicesEnabled();
void setLocationServicesEnabled(bool enabled);

CLLocationCoordinate2D devicePosition();
// Moving the device lets every updating location manager deliver a new fix when the move
// passes its distance filter.
void setDevicePosition(CLLocationCoordinate2D position);

// How long a fix and a reverse geocoding take, in seconds of run-loop time (virtual in tests).
double fixLatency();
void setFixLatency(double seconds);
double geocodeLatency();
void setGeocodeLatency(double seconds);

} // namespace location
