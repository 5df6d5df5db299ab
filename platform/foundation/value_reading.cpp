#include "foundation/value_reading.h"

#include "foundation/ns_number.h"
#include "foundation/ns_string.h"

namespace foundation {

namespace {

// Applies the reading that NSNumber and NSString share under one name.
template <class R, class Reading>
std::optional<R> readWith(const objc::id& value, Reading reading)
{
    if (auto* number = dynamic_cast<const NSNumber*>(value.get()))
        return reading(*number);
    if (auto* text = dynamic_cast<const NSString*>(value.get()))
        return reading(*text);
    return std::nullopt;
}

} // namespace

std::optional<float> floatValueOf(const objc::id& value)
{
    return readWith<float>(value, [](const auto& v) { return v.floatValue(); });
}

std::optional<double> doubleValueOf(const objc::id& value)
{
    return readWith<double>(value, [](const auto& v) { return v.doubleValue(); });
}

std::optional<bool> boolValueOf(const objc::id& value)
{
    return readWith<bool>(value, [](const auto& v) { return v.boolValue(); });
}

std::optional<int> intValueOf(const objc::id& value)
{
    return readWith<int>(value, [](const auto& v) { return v.intValue(); });
}

std::optional<long> integerValueOf(const objc::id& value)
{
    return readWith<long>(value, [](const auto& v) { return v.integerValue(); });
}

std::optional<std::string> stringValueOf(const objc::id& value)
{
    if (auto* number = dynamic_cast<const NSNumber*>(value.get()))
        return number->description();
    if (auto* text = dynamic_cast<const NSString*>(value.get()))
        return text->string();
    return std::nullopt;
}

} // namespace foundation
