#include "location/location_manager.h"

#include "foundation/clock.h"
#include "foundation/ns_array.h"
#include "foundation/ns_error.h"
#include "foundation/perform.h"
#include "location/device_location.h"

#include <algorithm>
#include <vector>

namespace {

// Managers that are updating, so that a move of the device reaches them.
std::vector<std::weak_ptr<CLLocationManager>>& updatingManagers()
{
    static std::vector<std::weak_ptr<CLLocationManager>> managers;
    return managers;
}

} // namespace

CLLocationManager::~CLLocationManager() = default;

bool CLLocationManager::locationServicesEnabled() { return location::locationServicesEnabled(); }

void CLLocationManager::startUpdatingLocation()
{
    if (!updating_) {
        updating_ = true;
        deliveredThisSession_ = false;
        updatingManagers().push_back(selfAs<CLLocationManager>());
    }
    scheduleFix();
}

void CLLocationManager::stopUpdatingLocation()
{
    updating_ = false;
    auto& managers = updatingManagers();
    std::erase_if(managers, [this](const std::weak_ptr<CLLocationManager>& m) {
        auto manager = m.lock();
        return !manager || manager.get() == this;
    });
    if (fixScheduled_) {
        foundation::cancelPreviousPerformRequestsWithTargetSelectorObject(self(), "_deliverFix"_sel, nullptr);
        fixScheduled_ = false;
    }
}

void CLLocationManager::scheduleFix()
{
    if (fixScheduled_)
        return;
    fixScheduled_ = true;
    foundation::performSelectorWithObjectAfterDelay(self(), "_deliverFix"_sel, nullptr, location::fixLatency());
}

void CLLocationManager::deliverFix()
{
    fixScheduled_ = false;
    if (!updating_)
        return;
    const objc::id delegate = delegate_.lock();
    if (!location::locationServicesEnabled()) {
        objc::msgSendIfResponds(delegate, "locationManager:didFailWithError:"_sel, self(),
                                NSError::errorWithDomainCodeDescription("kCLErrorDomain", 1, "Location services are off"));
        return;
    }
    auto fix = std::make_shared<CLLocation>(location::devicePosition(), 65.0, foundation::now());
    // Within one session of updates, a fix that does not pass the distance filter is not news;
    // the first fix of a session always is.
    if (deliveredThisSession_ && location_ && distanceFilter_ > 0 && fix->distanceFromLocation(*location_) < distanceFilter_)
        return;
    deliveredThisSession_ = true;
    location_ = fix;
    objc::msgSendIfResponds(delegate, "locationManager:didUpdateLocations:"_sel, self(),
                            std::static_pointer_cast<objc::Object>(NSArray::arrayWithObjects({fix})));
}

void CLLocationManager::deviceMoved()
{
    auto managers = updatingManagers();
    for (auto& weak : managers)
        if (auto manager = weak.lock())
            manager->scheduleFix();
}

OBJC_REGISTER(CLLocationManager,
    c.method<&CLLocationManager::startUpdatingLocation>("startUpdatingLocation");
    c.method<&CLLocationManager::stopUpdatingLocation>("stopUpdatingLocation");
    c.method<&CLLocationManager::deliverFix>("_deliverFix");
    c.method<&CLLocationManager::location>("location");
    c.method<&CLLocationManager::delegate>("delegate");
    c.method<&CLLocationManager::setDelegate>("setDelegate:");
    c.method<&CLLocationManager::setDistanceFilter>("setDistanceFilter:");
    c.method<&CLLocationManager::setDesiredAccuracy>("setDesiredAccuracy:");)
