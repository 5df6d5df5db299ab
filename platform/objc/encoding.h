// Type encodings in the platform's notation ("v@:", "B@:@", "v@:#", "{CGRect=...}").
// A message is checked against the encoding of the method it reaches.
#pragma once

#include "selector.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace objc {

class Object;
class Class_;
class ObjectRef;
using Class = Class_*;
using id = std::shared_ptr<Object>;

// Encode<T>::value() gives the encoding of one C++ type. Types without a specialisation
// cannot travel through a message; geometry types add theirs next to their definition.
template <class T, class = void>
struct Encode;

#define OBJC_ENCODE(Type, Text) \
    template <> struct Encode<Type> { static std::string value() { return Text; } }

OBJC_ENCODE(void, "v");
OBJC_ENCODE(bool, "B");
OBJC_ENCODE(char, "c");
OBJC_ENCODE(signed char, "c");
OBJC_ENCODE(unsigned char, "C");
OBJC_ENCODE(short, "s");
OBJC_ENCODE(unsigned short, "S");
OBJC_ENCODE(int, "i");
OBJC_ENCODE(unsigned int, "I");
OBJC_ENCODE(long, "q");
OBJC_ENCODE(long long, "q");
OBJC_ENCODE(unsigned long, "Q");
OBJC_ENCODE(unsigned long long, "Q");
OBJC_ENCODE(float, "f");
OBJC_ENCODE(double, "d");
OBJC_ENCODE(SEL, ":");
OBJC_ENCODE(Class, "#");
OBJC_ENCODE(const char*, "*");

template <class T>
struct Encode<std::shared_ptr<T>, std::enable_if_t<std::is_base_of_v<Object, T>>> {
    static std::string value() { return "@"; }
};
template <class T>
struct Encode<std::weak_ptr<T>, std::enable_if_t<std::is_base_of_v<Object, T>>> {
    static std::string value() { return "@"; }
};
template <>
struct Encode<ObjectRef> {
    static std::string value() { return "@"; }
};
template <class R, class... A>
struct Encode<std::function<R(A...)>> {
    static std::string value() { return "@?"; }
};

// Interns an encoding so that two equal encodings share one pointer.
const char* internEncoding(const std::string& text);

namespace detail {
template <class R, class... Args>
[[gnu::noinline, gnu::cold]] const char* makeMethodEncoding()
{
    return internEncoding(((Encode<R>::value() + "@:") + ... + Encode<std::remove_cvref_t<Args>>::value()));
}
} // namespace detail

// The interned encoding of a method taking Args and answering R.
template <class R, class... Args>
inline const char* methodEncoding()
{
    static const char* const text = detail::makeMethodEncoding<R, Args...>();
    return text;
}

} // namespace objc
