// An object argument on its way through a message: the sender's own strong reference, lent to
// the receiver for the duration of the call. Passing it costs no reference counting, and a
// receiver that takes the sender's exact type gets the sender's reference itself.
//
// Ownership: an ObjectRef owns nothing and is valid only while the reference it was made from
// is. A receiver that keeps the object takes a strong reference of its own (strong(), as<T>()).
#pragma once

#include "diagnostic.h"
#include "object.h"

#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>

namespace objc {

namespace detail {
// One per C++ type U that a lent reference can be a std::shared_ptr<U> of: how to make an id
// from it. Its address identifies U (and stays correct, only slower, should two shared objects
// ever keep separate copies).
struct HolderKind {
    id (*share)(const void* holder);
};
template <class U>
inline constexpr HolderKind holderKind{[](const void* holder) -> id {
    return *static_cast<const std::shared_ptr<U>*>(holder);
}};
} // namespace detail

class ObjectRef {
public:
    constexpr ObjectRef() = default;
    constexpr ObjectRef(std::nullptr_t) {}
    template <class U, class = std::enable_if_t<std::is_base_of_v<Object, U>>>
    ObjectRef(const std::shared_ptr<U>& holder)
        : object_(holder.get()), holder_(&holder), kind_(&detail::holderKind<std::remove_cv_t<U>>)
    {
    }

    Object* get() const { return object_; }
    Object* operator->() const { return object_; }
    Object& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // A strong reference of the receiver's own.
    id strong() const { return object_ ? kind_->share(holder_) : nullptr; }
    operator id() const { return strong(); }

    // The sender's own reference when it is a std::shared_ptr<T>, else nullptr.
    template <class T>
    const std::shared_ptr<T>* lentAs() const
    {
        return kind_ == &detail::holderKind<T> ? static_cast<const std::shared_ptr<T>*>(holder_) : nullptr;
    }
    // A strong reference as T, or nil when the object is not a T.
    template <class T>
    std::shared_ptr<T> as() const
    {
        if (const auto* lent = lentAs<T>())
            return *lent;
        T* cast = dynamic_cast<T*>(object_);
        return cast ? std::shared_ptr<T>(strong(), cast) : nullptr;
    }

    friend bool operator==(const ObjectRef& a, const ObjectRef& b) { return a.object_ == b.object_; }
    friend bool operator==(const ObjectRef& a, std::nullptr_t) { return !a.object_; }
    template <class U>
    friend bool operator==(const ObjectRef& a, const std::shared_ptr<U>& b) { return a.object_ == b.get(); }

private:
    Object* object_ = nullptr;
    const void* holder_ = nullptr;
    const detail::HolderKind* kind_ = nullptr;
};

} // namespace objc
