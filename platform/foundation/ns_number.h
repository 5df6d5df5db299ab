// NSNumber: a boolean, a 64-bit integer or a real, compared by numeric value. A real keeps
// whether it was made from a float or a double, so that it prints as it was given.
#pragma once

#include "objc/objc.h"

#include <cstdint>
#include <memory>
#include <string>

class NSString;

class NSNumber : public objc::Object {
    OBJC_CLASS(NSNumber, objc::Object)
public:
    enum class Kind { Bool, Integer, Float, Double };

    // alloc/init gives the integer 0.
    NSNumber() = default;

    static std::shared_ptr<NSNumber> numberWithBool(bool value);
    static std::shared_ptr<NSNumber> numberWithInt(int value);
    static std::shared_ptr<NSNumber> numberWithLong(long value);
    static std::shared_ptr<NSNumber> numberWithInteger(long value) { return numberWithLong(value); }
    static std::shared_ptr<NSNumber> numberWithFloat(float value);
    static std::shared_ptr<NSNumber> numberWithDouble(double value);

    Kind kind() const { return kind_; }
    bool isBool() const { return kind_ == Kind::Bool; }
    bool isInteger() const { return kind_ == Kind::Integer; }
    bool isReal() const { return kind_ == Kind::Float || kind_ == Kind::Double; }

    // Conversions between kinds: a real is truncated toward zero and clamped to the integer
    // range (NaN gives 0); any non-zero value is true.
    bool boolValue() const;
    int intValue() const;
    long longValue() const;
    long integerValue() const { return longValue(); }
    float floatValue() const;
    double doubleValue() const;
    // "1"/"0" for booleans, decimal for integers, the shortest text that reads back as the
    // same float or double for reals ("0.3", "1e+100").
    std::shared_ptr<NSString> stringValue() const;

    std::string description() const override;
    bool isEqual(const objc::Object* other) const override;
    bool isEqualToNumber(const std::shared_ptr<NSNumber>& other) const { return isEqual(other.get()); }
    std::size_t hash() const override;

private:
    Kind kind_ = Kind::Integer;
    std::int64_t integer_ = 0; // Bool and Integer
    double real_ = 0;          // Float and Double
};
