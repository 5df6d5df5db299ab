// Typed messaging: msgSend<R>(receiver, sel, args...) checks the argument and result types
// against the encoding of the method that answers, then calls it.
#pragma once

#include "class.h"
#include "object_ref.h"

#include <string>
#include <type_traits>
#include <utility>

namespace objc {

// How a C++ type travels through a message. Objects travel as arguments lent by the sender
// (const ObjectRef&) and come back as results of type id, whatever their static type; the receiving
// side gets them as the type it asks for, checked. Everything else travels by value.
template <class T>
struct Canon {
    using type = T;   // as an argument
    using result = T; // as a result
    static T in(T value) { return value; }
    static T out(T value) { return value; }
    static T give(T value) { return value; }
    static T take(T value) { return value; }
};
template <>
struct Canon<void> {
    using type = void;
    using result = void;
};

namespace detail {
[[noreturn]] void wrongObjectType(const Object* object, const char* expected);

template <class T>
T* checkedCast(Object* object)
{
    if constexpr (std::is_same_v<T, Object>) {
        return object;
    } else {
        T* cast = dynamic_cast<T*>(object);
        if (!cast && object)
            wrongObjectType(object, typeid(T).name());
        return cast;
    }
}

// An object argument as the receiver's std::shared_ptr<T>: the sender's own reference when
// the sender held exactly that type, else a checked one of the receiver's.
template <class T>
class Lent {
public:
    explicit Lent(const ObjectRef& ref) : lent_(ref.lentAs<T>())
    {
        if (!lent_ && ref)
            own_ = std::shared_ptr<T>(ref.strong(), checkedCast<T>(ref.get()));
    }
    operator const std::shared_ptr<T>&() const { return lent_ ? *lent_ : own_; }

private:
    const std::shared_ptr<T>* lent_;
    std::shared_ptr<T> own_;
};
} // namespace detail

template <class T>
struct Canon<std::shared_ptr<T>> {
    using type = const ObjectRef&;
    using result = id;
    static ObjectRef in(const std::shared_ptr<T>& value) { return value; }
    static detail::Lent<T> out(const ObjectRef& value) { return detail::Lent<T>(value); }
    static id give(std::shared_ptr<T>&& value) { return std::move(value); }
    static id give(const std::shared_ptr<T>& value) { return value; }
    static std::shared_ptr<T> take(id&& value)
    {
        T* cast = detail::checkedCast<T>(value.get());
        return cast ? std::shared_ptr<T>(std::move(value), cast) : nullptr;
    }
};
template <>
struct Canon<ObjectRef> {
    using type = const ObjectRef&;
    static const ObjectRef& in(const ObjectRef& value) { return value; }
    static const ObjectRef& out(const ObjectRef& value) { return value; }
};
template <>
struct Canon<std::nullptr_t> {
    using type = const ObjectRef&;
    static ObjectRef in(std::nullptr_t) { return nullptr; }
};
// The type an argument of type T travels as, and the type a result of type T comes back as.
template <class T>
using canon_t = typename Canon<std::remove_cvref_t<T>>::type;
template <class T>
using result_t = typename Canon<std::remove_cvref_t<T>>::result;

namespace detail {
// Both stop the process with a diagnostic naming the class and the selector. The class is the
// one whose methods were searched (a metaclass for class messages).
[[noreturn]] void unrecognizedSelector(Class cls, SEL sel);
[[noreturn]] void encodingMismatch(Class cls, SEL sel, const char* methodTypes, const char* callTypes);

// The method that answers a send of the given types; stops when there is none or when its
// encoding differs. Interned encodings compare by pointer, so the check costs one comparison
// against the cached method.
inline Method methodForSend(const Object* receiver, SEL sel)
{
    Class cls = receiver->isa();
    Method m = cls ? cls->lookup(sel) : nullptr;
    if (!m) [[unlikely]]
        unrecognizedSelector(cls, sel);
    return m;
}
inline Method checkedMethod(const Object* receiver, SEL sel, const char* expected)
{
    Method m = methodForSend(receiver, sel);
    if (m->types != expected) [[unlikely]]
        encodingMismatch(receiver->isa(), sel, m->types, expected);
    return m;
}

inline const Object* asObject(const Object* obj) { return obj; }
inline const Object* asObject(const ObjectRef& obj) { return obj.get(); }
template <class T>
const Object* asObject(const std::shared_ptr<T>& obj) { return obj.get(); }
} // namespace detail

// Sends a message. A message to nil does nothing and gives R's zero value.
template <class R = void, class... Args>
R msgSend(const Object* receiver, SEL sel, Args&&... args)
{
    using Ret = result_t<R>;
    if (!receiver) {
        if constexpr (!std::is_void_v<R>)
            return R{};
        else
            return;
    }
    Method m = detail::checkedMethod(receiver, sel, methodEncoding<Ret, canon_t<Args>...>());
    using Fn = Ret (*)(Object*, SEL, canon_t<Args>...);
    auto fn = reinterpret_cast<Fn>(m->imp);
    auto* self = const_cast<Object*>(receiver);
    if constexpr (std::is_void_v<R>)
        fn(self, sel, Canon<std::remove_cvref_t<Args>>::in(std::forward<Args>(args))...);
    else
        return Canon<R>::take(fn(self, sel, Canon<std::remove_cvref_t<Args>>::in(std::forward<Args>(args))...));
}

template <class R = void, class T, class... Args>
R msgSend(const std::shared_ptr<T>& receiver, SEL sel, Args&&... args)
{
    return msgSend<R>(static_cast<const Object*>(receiver.get()), sel, std::forward<Args>(args)...);
}
template <class R = void, class... Args>
R msgSend(const ObjectRef& receiver, SEL sel, Args&&... args)
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
