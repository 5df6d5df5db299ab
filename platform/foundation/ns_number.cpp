#include "foundation/ns_number.h"

#include "foundation/ns_string.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

template <class Int>
Int clampedInteger(double value)
{
    if (std::isnan(value))
        return 0;
    // The limits as doubles: max rounds up to 2^63 (or 2^31 exactly), so compare with >=.
    constexpr double low = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double high = static_cast<double>(std::numeric_limits<Int>::max());
    if (value <= low)
        return std::numeric_limits<Int>::min();
    if (value >= high)
        return std::numeric_limits<Int>::max();
    return static_cast<Int>(value);
}

template <class Real>
std::string shortestText(Real value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace

std::shared_ptr<NSNumber> NSNumber::numberWithBool(bool value)
{
    auto number = std::make_shared<NSNumber>();
    number->kind_ = Kind::Bool;
    number->integer_ = value ? 1 : 0;
    return number;
}

std::shared_ptr<NSNumber> NSNumber::numberWithInt(int value) { return numberWithLong(value); }

std::shared_ptr<NSNumber> NSNumber::numberWithLong(long value)
{
    auto number = std::make_shared<NSNumber>();
    number->integer_ = value;
    return number;
}

std::shared_ptr<NSNumber> NSNumber::numberWithFloat(float value)
{
    auto number = std::make_shared<NSNumber>();
    number->kind_ = Kind::Float;
    number->real_ = value;
    return number;
}

std::shared_ptr<NSNumber> NSNumber::numberWithDouble(double value)
{
    auto number = std::make_shared<NSNumber>();
    number->kind_ = Kind::Double;
    number->real_ = value;
    return number;
}

bool NSNumber::boolValue() const { return isReal() ? real_ != 0 : integer_ != 0; }

int NSNumber::intValue() const
{
    if (isReal())
        return clampedInteger<int>(real_);
    if (integer_ < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (integer_ > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(integer_);
}

long NSNumber::longValue() const { return isReal() ? clampedInteger<long>(real_) : static_cast<long>(integer_); }
float NSNumber::floatValue() const { return isReal() ? static_cast<float>(real_) : static_cast<float>(integer_); }
double NSNumber::doubleValue() const { return isReal() ? real_ : static_cast<double>(integer_); }

std::shared_ptr<NSString> NSNumber::stringValue() const { return NSStr(description()); }

std::string NSNumber::description() const
{
    switch (kind_) {
    case Kind::Float:
        return shortestText(static_cast<float>(real_));
    case Kind::Double:
        return shortestText(real_);
    case Kind::Bool:
    case Kind::Integer:
        break;
    }
    return std::to_string(integer_);
}

bool NSNumber::isEqual(const objc::Object* other) const
{
    auto* number = dynamic_cast<const NSNumber*>(other);
    if (!number)
        return false;
    if (!isReal() && !number->isReal())
        return integer_ == number->integer_;
    return doubleValue() == number->doubleValue();
}

std::size_t NSNumber::hash() const
{
    // Equal numbers have equal doubles (integers compare exactly only with integers, and then
    // equal integers give equal doubles too).
    const double value = doubleValue();
    return std::hash<double>()(value == 0 ? 0.0 : value);
}

OBJC_REGISTER(NSNumber,
    c.classMethod<&NSNumber::numberWithBool>("numberWithBool:");
    c.classMethod<&NSNumber::numberWithInt>("numberWithInt:");
    c.classMethod<&NSNumber::numberWithLong>("numberWithLong:");
    c.classMethod<&NSNumber::numberWithInteger>("numberWithInteger:");
    c.classMethod<&NSNumber::numberWithFloat>("numberWithFloat:");
    c.classMethod<&NSNumber::numberWithDouble>("numberWithDouble:");
    c.method<&NSNumber::boolValue>("boolValue");
    c.method<&NSNumber::intValue>("intValue");
    c.method<&NSNumber::longValue>("longValue");
    c.method<&NSNumber::integerValue>("integerValue");
    c.method<&NSNumber::floatValue>("floatValue");
    c.method<&NSNumber::doubleValue>("doubleValue");
    c.method<&NSNumber::stringValue>("stringValue");)
