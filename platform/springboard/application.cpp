#include "springboard/application.h"

std::shared_ptr<SBApplication> SBApplication::applicationWithInfo(springboard::InstalledApplication info)
{
    auto application = std::make_shared<SBApplication>();
    application->info_ = std::move(info);
    return application;
}

OBJC_REGISTER(SBApplication,
    c.method<&SBApplication::bundleIdentifier>("bundleIdentifier");
    c.method<&SBApplication::displayIdentifier>("displayIdentifier");
    c.method<&SBApplication::displayName>("displayName");)
