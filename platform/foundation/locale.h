// Locales. The device's locale is a setting of the simulated device: the variable
// VANTOREL_LOCALE, else "en_US"; processes started later inherit it.
#pragma once

#include "objc/objc.h"

#include <memory>
#include <string>

namespace foundation {

std::string deviceLocale();
void setDeviceLocale(const std::string& identifier);

} // namespace foundation

// NSLocale: a locale identifier ("en_US", "de_DE", "en_US_POSIX") whose data comes from ICU.
class NSLocale : public objc::Object {
    OBJC_CLASS(NSLocale, objc::Object)
public:
    // alloc/init gives the device's locale.
    NSLocale();
    explicit NSLocale(std::string identifier) : identifier_(std::move(identifier)) {}

    // The device's locale, as it is set at the time of the call.
    static std::shared_ptr<NSLocale> currentLocale();
    static std::shared_ptr<NSLocale> systemLocale() { return localeWithLocaleIdentifier(""); }
    // Any identifier makes a locale; one ICU has no data for falls back to the root locale's data.
    static std::shared_ptr<NSLocale> localeWithLocaleIdentifier(const std::string& identifier);

    const std::string& localeIdentifier() const { return identifier_; }

    std::string description() const override { return identifier_; }
    bool isEqual(const objc::Object* other) const override;
    std::size_t hash() const override { return std::hash<std::string>()(identifier_); }

private:
    std::string identifier_;
};
