#include "location/geocoder.h"

#include "foundation/ns_array.h"
#include "foundation/ns_error.h"
#include "foundation/timer.h"
#include "location/device_location.h"
#include "location/world_cities.h"

namespace {
constexpr CLLocationDistance kSearchRadius = 50000;
}

CLPlacemark::CLPlacemark(std::string locality, std::string country, std::shared_ptr<CLLocation> location)
    : locality_(std::move(locality)), country_(std::move(country)), location_(std::move(location))
{
}

void CLGeocoder::reverseGeocodeLocationCompletionHandler(const std::shared_ptr<CLLocation>& location,
                                                         CLGeocodeCompletionHandler completion)
{
    geocoding_ = true;
    auto self = selfAs<CLGeocoder>();
    auto place = location ? location::nearestCity(location->coordinate(), kSearchRadius) : std::nullopt;
    NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(
        location::geocodeLatency(), false,
        [self, place, completion = std::move(completion)](const std::shared_ptr<NSTimer>&) {
            self->geocoding_ = false;
            if (!completion)
                return;
            if (!place) {
                completion(nullptr, NSError::errorWithDomainCodeDescription(
                                        "kCLErrorDomain", kCLErrorGeocodeFoundNoResult,
                                        "The operation couldn't be completed. (kCLErrorDomain error 8.)"));
                return;
            }
            auto placemark = std::make_shared<CLPlacemark>(
                place->name, place->country,
                std::make_shared<CLLocation>(place->coordinate, 0.0, 0.0));
            completion(NSArray::arrayWithObjects({placemark}), nullptr);
        });
}

OBJC_REGISTER(CLPlacemark)
OBJC_REGISTER(CLGeocoder)
