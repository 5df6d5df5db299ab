// Typed messaging: msgSend<R>(receiver, sel, args...) checks the argument and result types
// against the encoding of the method that answers, then calls it.
#pragma once

#include "class.h"

#include <string>
#include <type_traits>
#include <utility>

namespace objc {

// How a C++ type travels through a message. Objects travel as id whatever their static type;
// the receiving side casts them back, checked.
template <class T>
struct Canon {
    using type = T;
    static T in(T value) { return value; }
    static T out(T value) { return value; }
};
template <>
struct Canon<void> {
    using type = void;
};
template <class T>
struct Canon<std::shared_ptr<T>> {
    using type = id;
    static id in(const std::shared_ptr<T>& value) { return value; }
    static std::shared_ptr<T> out(const id& value)
    {
        if constexpr (std::is_same_v<T, Object>) {
            return value;
        } else {
            if (!value)
                return nullptr;
            auto cast = std::dynamic_pointer_cast<T>(value);
            if (!cast)
                fatal("object of class " + value->isa()->name() + " is not of the C++ type " +
                      typeid(T).name() + " expected here");
            return cast;
        }
    }
};
template <>
struct Canon<std::nullptr_t> {
    using type = id;
    static id in(std::nullptr_t) { return nullptr; }
};
template <class T>
using canon_t = typename Canon<std::remove_cvref_t<T>>::type;

namespace detail {
// Both stop the process with a diagnostic naming the class and the selector. The class is the
// one whose methods were searched (a metaclass for class messages).
[[noreturn]] void unrecognizedSelector(Class cls, SEL sel);
[[noreturn]] void encodingMismatch(Class cls, SEL sel, const char* methodTypes, const char* callTypes);

inline Method methodForSend(const Object* receiver, SEL sel)
{
    Class cls = receiver->isa();
    Method m = cls ? cls->lookup(sel) : nullptr;
    if (!m)
        unrecognizedSelector(cls, sel);
    return m;
}

inline const Object* asObject(const Object* obj) { return obj; }
template <class T>
const Object* asObject(const std::shared_ptr<T>& obj) { return obj.get(); }
} // namespace detail

// Sends a message. A message to nil does nothing and gives R's zero value.
template <class R = void, class... Args>
R msgSend(const Object* receiver, SEL sel, Args&&... args)
{
    using Ret = canon_t<R>;
    if (!receiver) {
        if constexpr (!std::is_void_v<R>)
            return R{};
        else
            return;
    }
    Method m = detail::methodForSend(receiver, sel);
    const char* expected = methodEncoding<Ret, canon_t<Args>...>();
    if (m->types != expected)
        detail::encodingMismatch(receiver->isa(), sel, m->types, expected);
    using Fn = Ret (*)(Object*, SEL, canon_t<Args>...);
    auto fn = reinterpret_cast<Fn>(m->imp);
    auto* self = const_cast<Object*>(receiver);
    if constexpr (std::is_void_v<R>)
        fn(self, sel, Canon<std::remove_cvref_t<Args>>::in(std::forward<Args>(args))...);
    else
        return Canon<R>::out(fn(self, sel, Canon<std::remove_cvref_t<Args>>::in(std::forward<Args>(args))...));
}

template <class R = void, class T, class... Args>
R msgSend(const std::shared_ptr<T>& receiver, SEL sel, Args&&... args)
{
    return msgSend<R>(static_cast<const Object*>(receiver.get()), sel, std::forward<Args>(args)...);
}

// Sends the message only when the receiver answers it (optional delegate methods).
template <class R = void, class Receiver, class... Args>
R msgSendIfResponds(const Receiver& receiver, SEL sel, Args&&... args)
{
    const Object* obj = detail::asObject(receiver);
    if (!obj || !respondsToSelector(obj, sel)) {
        if constexpr (!std::is_void_v<R>)
            return R{};
        else
            return;
    }
    return msgSend<R>(obj, sel, std::forward<Args>(args)...);
}

// Target–action: the action takes no argument ("v@:") or the sender ("v@:@"); any other
// signature stops with a diagnostic. A nil target does nothing.
void sendAction(const Object* target, SEL action, const id& sender);
inline void sendAction(const id& target, SEL action, const id& sender) { sendAction(target.get(), action, sender); }

// alloc for a C++ class: an uninitialised instance from the class's allocator.
template <class T>
std::shared_ptr<T> alloc()
{
    return std::static_pointer_cast<T>(T::class_()->createInstance());
}

} // namespace objc
