#include "springboard/application_controller.h"

#include "foundation/ns_string.h"

#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

std::optional<bool> legacyChoice; // set by tests; else the device setting
std::shared_ptr<SBApplicationController> shared;

bool legacyFromDevice()
{
    const char* generation = std::getenv("VANTOREL_SPRINGBOARD_GENERATION");
    return generation && std::string_view(generation) == "legacy";
}

} // namespace

std::shared_ptr<SBApplicationController> SBApplicationController::sharedInstance()
{
    if (!shared) {
        if (isLegacyHost())
            shared = std::make_shared<SBDisplayIdentifierApplicationController>();
        else
            shared = std::make_shared<SBBundleIdentifierApplicationController>();
    }
    return shared;
}

void SBApplicationController::setLegacyHost(bool legacy)
{
    legacyChoice = legacy;
    shared.reset();
}

void SBApplicationController::useDeviceSetting()
{
    legacyChoice.reset();
    shared.reset();
}

bool SBApplicationController::isLegacyHost() { return legacyChoice.value_or(legacyFromDevice()); }

std::shared_ptr<SBApplication> SBApplicationController::applicationWithIdentifier(const std::string& identifier) const
{
    const springboard::InstalledApplication* info = springboard::ApplicationRegistry::current().application(identifier);
    return info ? SBApplication::applicationWithInfo(*info) : nullptr;
}

std::vector<std::shared_ptr<SBApplication>> SBApplicationController::allApplications() const
{
    std::vector<std::shared_ptr<SBApplication>> all;
    for (const auto& info : springboard::ApplicationRegistry::current().applications())
        all.push_back(SBApplication::applicationWithInfo(info));
    return all;
}

std::shared_ptr<SBApplication> SBApplicationController::lookUp(const objc::id& identifier) const
{
    auto text = std::dynamic_pointer_cast<NSString>(identifier);
    return text ? applicationWithIdentifier(text->string()) : nullptr;
}

OBJC_REGISTER(SBApplicationController, c.classMethod<&SBApplicationController::sharedInstance>("sharedInstance");)
OBJC_REGISTER(SBBundleIdentifierApplicationController,
    c.method<&SBBundleIdentifierApplicationController::applicationWithBundleIdentifier>("applicationWithBundleIdentifier:");)
OBJC_REGISTER(SBDisplayIdentifierApplicationController,
    c.method<&SBDisplayIdentifierApplicationController::applicationWithDisplayIdentifier>(
        "applicationWithDisplayIdentifier:");)
