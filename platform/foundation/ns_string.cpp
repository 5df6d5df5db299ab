#include "foundation/ns_string.h"

#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace {

bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipWhite(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isWhite(text[i]))
        ++i;
    return i;
}

// Leading white space, an optional sign, then decimal digits; saturates at the type's limits.
long long leadingInteger(std::string_view text, long long min, long long max)
{
    std::size_t i = skipWhite(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        const int digit = text[i] - '0';
        if (!negative) {
            if (value > (max - digit) / 10)
                return max;
            value = value * 10 + digit;
        } else {
            if (value < (min + digit) / 10)
                return min;
            value = value * 10 - digit;
        }
    }
    return value;
}

// The decimal number at the start of the text (after white space), in the plain form the
// platform accepts: sign, digits, point, digits, exponent. No hex, no "inf" or "nan".
std::string leadingDecimal(std::string_view text)
{
    std::size_t i = skipWhite(text);
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return {};
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return std::string(text.substr(start, i - start));
}

// Number reading must not follow the process's locale (a decimal comma would cut "0.5").
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

std::string_view withoutTrailingSlashes(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return path;
}

// Index of the '.' that starts the last component's extension, or npos.
std::size_t extensionDot(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t componentStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot <= componentStart)
        return std::string_view::npos;
    return dot;
}

} // namespace

std::shared_ptr<NSString> NSString::stringWithString(std::string text) { return std::make_shared<NSString>(std::move(text)); }

std::shared_ptr<NSString> NSString::stringWithString(const std::shared_ptr<NSString>& other)
{
    return std::make_shared<NSString>(other ? other->text_ : std::string());
}

unsigned long NSString::length() const
{
    unsigned long units = 0;
    std::size_t i = 0;
    while (i < text_.size()) {
        const auto lead = static_cast<unsigned char>(text_[i]);
        std::size_t width = 1;
        unsigned long count = 1;
        if (lead >= 0xF0 && lead <= 0xF4)
            width = 4, count = 2;
        else if (lead >= 0xE0)
            width = lead <= 0xEF ? 3 : 1;
        else if (lead >= 0xC2)
            width = 2;
        bool whole = i + width <= text_.size();
        for (std::size_t k = 1; whole && k < width; ++k)
            whole = (static_cast<unsigned char>(text_[i + k]) & 0xC0) == 0x80;
        if (!whole)
            width = 1, count = 1;
        units += count;
        i += width;
    }
    return units;
}

int NSString::intValue() const { return static_cast<int>(leadingInteger(text_, INT_MIN, INT_MAX)); }
long NSString::integerValue() const { return static_cast<long>(leadingInteger(text_, LONG_MIN, LONG_MAX)); }
long long NSString::longLongValue() const { return leadingInteger(text_, LLONG_MIN, LLONG_MAX); }

float NSString::floatValue() const
{
    const std::string number = leadingDecimal(text_);
    return number.empty() ? 0.0f : strtof_l(number.c_str(), nullptr, cLocale());
}

double NSString::doubleValue() const
{
    const std::string number = leadingDecimal(text_);
    return number.empty() ? 0.0 : strtod_l(number.c_str(), nullptr, cLocale());
}

bool NSString::boolValue() const
{
    std::size_t i = skipWhite(text_);
    if (i < text_.size() && (text_[i] == '+' || text_[i] == '-'))
        ++i;
    while (i < text_.size() && text_[i] == '0')
        ++i;
    if (i == text_.size())
        return false;
    const char c = text_[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

std::shared_ptr<NSString> NSString::lastPathComponent() const
{
    const std::string_view path = withoutTrailingSlashes(text_);
    if (path == "/")
        return NSStr("/");
    const std::size_t slash = path.rfind('/');
    return NSStr(std::string(slash == std::string_view::npos ? path : path.substr(slash + 1)));
}

std::shared_ptr<NSString> NSString::pathExtension() const
{
    const std::string_view path = withoutTrailingSlashes(text_);
    const std::size_t dot = extensionDot(path);
    return NSStr(dot == std::string_view::npos ? std::string() : std::string(path.substr(dot + 1)));
}

std::shared_ptr<NSString> NSString::stringByDeletingPathExtension() const
{
    const std::string_view path = withoutTrailingSlashes(text_);
    return NSStr(std::string(path.substr(0, extensionDot(path))));
}

std::shared_ptr<NSString> NSString::stringByAppendingPathComponent(std::string_view component) const
{
    std::string result(withoutTrailingSlashes(text_));
    while (!component.empty() && component.front() == '/')
        component.remove_prefix(1);
    component = withoutTrailingSlashes(component);
    if (component.empty() || component == "/")
        return NSStr(result);
    if (!result.empty() && result.back() != '/')
        result += '/';
    result += component;
    return NSStr(std::move(result));
}

std::shared_ptr<NSString> NSString::stringByAppendingPathComponent(const std::shared_ptr<NSString>& component) const
{
    return stringByAppendingPathComponent(component ? std::string_view(component->text_) : std::string_view());
}

std::shared_ptr<NSString> NSString::stringByAppendingString(std::string_view tail) const
{
    return NSStr(text_ + std::string(tail));
}

bool NSString::isEqual(const objc::Object* other) const
{
    auto* text = dynamic_cast<const NSString*>(other);
    return text && text->text_ == text_;
}

namespace {
using StringArg = const std::shared_ptr<NSString>&;
}

OBJC_REGISTER(NSString,
    c.classMethod<static_cast<std::shared_ptr<NSString> (*)(StringArg)>(&NSString::stringWithString)>("stringWithString:");
    c.method<&NSString::length>("length");
    c.method<&NSString::UTF8String>("UTF8String");
    c.method<&NSString::intValue>("intValue");
    c.method<&NSString::integerValue>("integerValue");
    c.method<&NSString::longLongValue>("longLongValue");
    c.method<&NSString::floatValue>("floatValue");
    c.method<&NSString::doubleValue>("doubleValue");
    c.method<&NSString::boolValue>("boolValue");
    c.method<static_cast<bool (NSString::*)(StringArg) const>(&NSString::isEqualToString)>("isEqualToString:");
    c.method<static_cast<bool (NSString::*)(StringArg) const>(&NSString::hasSuffix)>("hasSuffix:");
    c.method<&NSString::lastPathComponent>("lastPathComponent");
    c.method<&NSString::pathExtension>("pathExtension");
    c.method<&NSString::stringByDeletingPathExtension>("stringByDeletingPathExtension");
    c.method<static_cast<std::shared_ptr<NSString> (NSString::*)(StringArg) const>(
        &NSString::stringByAppendingPathComponent)>("stringByAppendingPathComponent:");)
