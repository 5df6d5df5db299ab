// The root of every object the runtime knows: identity, class, and a strong reference to itself.
#pragma once

#include "encoding.h"

#include <cstddef>
#include <memory>
#include <string>

namespace objc {

// Objects live in std::shared_ptr (strong references) and std::weak_ptr (weak ones, such as
// delegates). Always create them with std::make_shared or through their class's allocator.
class Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    static Class class_();
    // The object's class in the runtime; every registered C++ class overrides it (OBJC_CLASS).
    virtual Class isa() const { return runtimeClass_ ? runtimeClass_ : class_(); }

    // -init: the designated initialiser of plain objects. Returns self.
    virtual id init() { return self(); }

    // Text for "%@" in formats and logs.
    virtual std::string description() const;
    // Value equality where a class defines one (strings, numbers); identity otherwise.
    virtual bool isEqual(const Object* other) const { return this == other; }
    virtual std::size_t hash() const { return std::hash<const void*>()(this); }

    bool isKindOfClass(Class cls) const;
    bool isMemberOfClass(Class cls) const { return isa() == cls; }

    id self() { return shared_from_this(); }
    template <class T>
    std::shared_ptr<T> selfAs() { return std::static_pointer_cast<T>(shared_from_this()); }

    // Set by the runtime for an instance of a class made at run time (objc_allocateClassPair),
    // which has no C++ type of its own.
    void setRuntimeClass(Class cls) { runtimeClass_ = cls; }

protected:
    Class runtimeClass_ = nullptr;
};

using NSObject = Object;

} // namespace objc

// Declares a C++ class as a class of the runtime. Place it first in the class body.
#define OBJC_CLASS(Self, Super)                          \
public:                                                  \
    using super = Super;                                 \
    static ::objc::Class class_();                       \
    ::objc::Class isa() const override { return runtimeClass_ ? runtimeClass_ : class_(); }
