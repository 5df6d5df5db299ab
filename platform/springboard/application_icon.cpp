#include "springboard/application_icon.h"

#include "foundation/ns_string.h"
#include "springboard/application_registry.h"

objc::id SBApplicationIcon::initWithApplication(const objc::id& application)
{
    application_ = std::dynamic_pointer_cast<SBApplication>(application);
    return self();
}

std::shared_ptr<UIImage> SBApplicationIcon::generateIconImage(long format) const
{
    return springboard::applicationIconImage(application_ ? application_->info().bundleIdentifier : "", format, 0);
}

namespace springboard {

std::shared_ptr<UIImage> applicationIconImage(const std::string& bundleIdentifier, long format, CGFloat scale)
{
    return ApplicationRegistry::current().iconImage(bundleIdentifier, format, scale);
}

} // namespace springboard

OBJC_REGISTER(SBApplicationIcon,
    c.method<&SBApplicationIcon::initWithApplication>("initWithApplication:");
    c.method<&SBApplicationIcon::generateIconImage>("generateIconImage:");)

namespace {

objc::id iconImageForBundleIdentifier(objc::Object*, objc::SEL, const objc::ObjectRef& identifier, long format,
                                      double scale)
{
    const auto* text = dynamic_cast<const NSString*>(identifier.get());
    return springboard::applicationIconImage(text ? text->string() : "", format, scale);
}

// The toolkit's image class learns the lookup from the host, as on the device.
[[maybe_unused]] const bool iconLookupInstalled = objc::class_addMethod(
    UIImage::class_()->metaClass(), objc::sel_registerName("_applicationIconImageForBundleIdentifier:format:scale:"),
    reinterpret_cast<objc::IMP>(&iconImageForBundleIdentifier), objc::methodEncoding<objc::id, objc::id, long, double>());

} // namespace
