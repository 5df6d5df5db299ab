// NSString: immutable text in UTF-8, compared by value. Carries the platform's readings of
// text as numbers and booleans, and the path operations the system applies to file names.
#pragma once

#include "objc/objc.h"

#include <memory>
#include <string>
#include <string_view>

class NSString : public objc::Object {
    OBJC_CLASS(NSString, objc::Object)
public:
    NSString() = default;
    explicit NSString(std::string text) : text_(std::move(text)) {}

    static std::shared_ptr<NSString> stringWithString(std::string text);
    static std::shared_ptr<NSString> stringWithString(const std::shared_ptr<NSString>& other);

    const std::string& string() const { return text_; }
    const char* UTF8String() const { return text_.c_str(); }
    // In UTF-16 code units, as the platform counts; a byte that is not valid UTF-8 counts as one.
    unsigned long length() const;
    bool isEqualToString(std::string_view other) const { return text_ == other; }
    bool isEqualToString(const std::shared_ptr<NSString>& other) const { return other && text_ == other->text_; }

    // Numeric readings skip leading white space and read the longest numeric prefix: "07" is
    // 7, "6:30" is 6, "abc" is 0. Integers clamp on overflow; reals give ±HUGE_VAL on overflow.
    int intValue() const;
    long integerValue() const;
    long long longLongValue() const;
    // Rounded once, straight to single precision: "0.3" is the float nearest to 0.3.
    float floatValue() const;
    double doubleValue() const;
    // After white space, an optional sign and leading zeros: true iff the next character is
    // one of Y y T t 1-9 ("YES", "true", "01" are true; "no", "0", "" are false).
    bool boolValue() const;

    bool hasPrefix(std::string_view prefix) const { return text_.starts_with(prefix); }
    bool hasSuffix(std::string_view suffix) const { return text_.ends_with(suffix); }
    bool hasSuffix(const std::shared_ptr<NSString>& suffix) const { return suffix && hasSuffix(suffix->text_); }

    // Path operations on '/'-separated paths; trailing separators are ignored ("/a/b/" is
    // "/a/b"). A leading dot does not start an extension (".bundle" has none).
    std::shared_ptr<NSString> lastPathComponent() const;
    std::shared_ptr<NSString> pathExtension() const;
    std::shared_ptr<NSString> stringByDeletingPathExtension() const;
    std::shared_ptr<NSString> stringByAppendingPathComponent(std::string_view component) const;
    std::shared_ptr<NSString> stringByAppendingPathComponent(const std::shared_ptr<NSString>& component) const;
    std::shared_ptr<NSString> stringByAppendingString(std::string_view tail) const;

    std::string description() const override { return text_; }
    bool isEqual(const objc::Object* other) const override;
    std::size_t hash() const override { return std::hash<std::string>()(text_); }

private:
    std::string text_;
};

// Short form for string objects made in code: NSStr("Calendar").
inline std::shared_ptr<NSString> NSStr(std::string text) { return std::make_shared<NSString>(std::move(text)); }
