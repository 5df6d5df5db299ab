// The root of every object the runtime knows: identity, class, and a strong reference to itself.
#pragma once

#include "encoding.h"

#include <cstddef>
#include <memory>
#include <string>

namespace objc {

namespace detail {
template <class Self>
struct ClassOf;
}

// Objects live in std::shared_ptr (strong references) and std::weak_ptr (weak ones, such as
// delegates). Always create them with std::make_shared or through their class's allocator.
class Object : public std::enable_shared_from_this<Object> {
public:
    Object() : isa_(class_()) {}
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    static Class class_();
    // The object's class in the runtime. Each constructor of a registered C++ class (OBJC_CLASS)
    // names its own class, so, as with virtual calls, an object under construction is of the
    // class whose constructor runs, and a finished one of its most derived registered class.
    Class isa() const { return isa_; }

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
    void setRuntimeClass(Class cls) { isa_ = cls; }

protected:
    // For class objects, whose class is their metaclass, set once it exists.
    struct ClassObject {};
    explicit Object(ClassObject) {}
    void setIsa(Class cls) { isa_ = cls; }

private:
    template <class Self>
    friend struct detail::ClassOf;
    Class isa_ = nullptr;
};

namespace detail {
// The member OBJC_CLASS adds: constructed after the bases and before the class's own members,
// it makes the object one of the class's.
template <class Self>
struct ClassOf {
    explicit ClassOf(Object* self) { self->isa_ = Self::class_(); }
};
} // namespace detail

using NSObject = Object;

} // namespace objc

// Declares a C++ class as a class of the runtime. Place it first in the class body.
#define OBJC_CLASS(Self, Super)                                        \
private:                                                               \
    [[no_unique_address]] ::objc::detail::ClassOf<Self> objcClassOf_{this}; \
                                                                       \
public:                                                                \
    using super = Super;                                               \
    static ::objc::Class class_();
