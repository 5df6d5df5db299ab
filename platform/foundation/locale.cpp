#include "foundation/locale.h"

#include <cstdlib>

namespace foundation {

namespace {
constexpr const char* kLocaleVariable = "VANTOREL_LOCALE";
}

std::string deviceLocale()
{
    const char* identifier = std::getenv(kLocaleVariable);
    return identifier && *identifier ? identifier : "en_US";
}

void setDeviceLocale(const std::string& identifier) { ::setenv(kLocaleVariable, identifier.c_str(), 1); }

} // namespace foundation

NSLocale::NSLocale() : identifier_(foundation::deviceLocale()) {}

std::shared_ptr<NSLocale> NSLocale::currentLocale() { return std::make_shared<NSLocale>(foundation::deviceLocale()); }

std::shared_ptr<NSLocale> NSLocale::localeWithLocaleIdentifier(const std::string& identifier)
{
    return std::make_shared<NSLocale>(identifier);
}

bool NSLocale::isEqual(const objc::Object* other) const
{
    auto* locale = dynamic_cast<const NSLocale*>(other);
    return locale && locale->identifier_ == identifier_;
}

OBJC_REGISTER(NSLocale,
    c.classMethod<&NSLocale::currentLocale>("currentLocale");
    c.classMethod<&NSLocale::systemLocale>("systemLocale");)
