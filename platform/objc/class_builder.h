// Registering a C++ class with the runtime: one OBJC_REGISTER line per class, one builder call
// per selector or instance variable.
//
//   OBJC_REGISTER(UIView,
//       c.method<&UIView::layoutSubviews>("layoutSubviews");
//       c.method<&UIView::initWithFrame>("initWithFrame:");
//       c.ivar<&UIView::_layer>("_layer");)
//
// A method registered from a C++ virtual is a thunk that calls the virtual, so a C++ override in
// a subclass is found by ordinary virtual dispatch, and a hook installed by name on a subclass
// still intercepts it.
#pragma once

#include "message.h"


namespace objc {

namespace detail {

template <class... T>
struct TypeList {};

template <class F>
struct MemberFn;
template <class R, class C, class... A>
struct MemberFn<R (C::*)(A...)> {
    using Ret = R;
    using Owner = C;
    using Args = TypeList<A...>;
};
template <class R, class C, class... A>
struct MemberFn<R (C::*)(A...) const> : MemberFn<R (C::*)(A...)> {};

template <class F>
struct FreeFn;
template <class R, class... A>
struct FreeFn<R (*)(A...)> {
    using Ret = R;
    using Args = TypeList<A...>;
};

template <class T, auto Fn, class R, class... A>
struct InstanceThunk {
    static result_t<R> call(Object* self, SEL, canon_t<A>... args)
    {
        T* obj = static_cast<T*>(self);
        if constexpr (std::is_void_v<R>)
            (obj->*Fn)(Canon<std::remove_cvref_t<A>>::out(args)...);
        else
            return Canon<std::remove_cvref_t<R>>::give((obj->*Fn)(Canon<std::remove_cvref_t<A>>::out(args)...));
    }
};

template <auto Fn, class R, class... A>
struct ClassThunk {
    static result_t<R> call(Object*, SEL, canon_t<A>... args)
    {
        if constexpr (std::is_void_v<R>)
            Fn(Canon<std::remove_cvref_t<A>>::out(args)...);
        else
            return Canon<std::remove_cvref_t<R>>::give(Fn(Canon<std::remove_cvref_t<A>>::out(args)...));
    }
};

Class registerClass(const char* name, Class superclass, Allocator allocator, const void* codeAddress);

template <class T>
Class superclassOf()
{
    if constexpr (std::is_same_v<T, Object>)
        return nullptr;
    else
        return T::super::class_();
}

template <class T>
id allocate()
{
    if constexpr (std::is_abstract_v<T> || !std::is_default_constructible_v<T>)
        return nullptr;
    else
        return std::make_shared<T>();
}

template <class T, class = void>
struct HasEncoding : std::false_type {};
template <class T>
struct HasEncoding<T, std::void_t<decltype(Encode<T>::value())>> : std::true_type {};

template <class M>
struct IsObjectPtr : std::false_type {};
template <class U>
struct IsObjectPtr<std::shared_ptr<U>> : std::is_base_of<Object, U> {};

template <auto Member>
struct MemberPointer;
template <class C, class M, M C::*Member>
struct MemberPointer<Member> {
    using Owner = C;
    using Type = M;
};

} // namespace detail

template <class T>
class ClassBuilder {
public:
    explicit ClassBuilder(Class cls) : cls_(cls) {}
    Class cls() const { return cls_; }

    // An instance method from a member function of T (or of a base of T).
    template <auto Fn>
    ClassBuilder& method(const char* selector)
    {
        using Traits = detail::MemberFn<decltype(Fn)>;
        addThunk<typename Traits::Ret>(cls_, selector, typename Traits::Args{}, [](auto ret, auto... args) {
            return reinterpret_cast<IMP>(&detail::InstanceThunk<T, Fn, typename decltype(ret)::type,
                                                                typename decltype(args)::type...>::call);
        });
        return *this;
    }

    // A class method from a static member function or free function.
    template <auto Fn>
    ClassBuilder& classMethod(const char* selector)
    {
        using Traits = detail::FreeFn<decltype(Fn)>;
        addThunk<typename Traits::Ret>(cls_->metaClass(), selector, typename Traits::Args{}, [](auto ret, auto... args) {
            return reinterpret_cast<IMP>(
                &detail::ClassThunk<Fn, typename decltype(ret)::type, typename decltype(args)::type...>::call);
        });
        return *this;
    }

    // An instance variable reachable by name, from a data member of T.
    template <auto Member>
    ClassBuilder& ivar(const char* name)
    {
        using M = typename detail::MemberPointer<Member>::Type;
        auto iv = std::unique_ptr<Ivar_>(new Ivar_{
            name,
            encodingOf<M>(),
            std::type_index(typeid(M)),
            [](Object* obj) -> void* { return &(static_cast<T*>(obj)->*Member); },
            nullptr,
            nullptr,
        });
        if constexpr (detail::IsObjectPtr<M>::value) {
            iv->getObject = [](Object* obj) -> id { return static_cast<T*>(obj)->*Member; };
            iv->setObject = [](Object* obj, const id& value) -> bool {
                auto cast = std::dynamic_pointer_cast<typename M::element_type>(value);
                if (value && !cast)
                    return false;
                static_cast<T*>(obj)->*Member = cast;
                return true;
            };
        }
        cls_->addIvar(std::move(iv));
        return *this;
    }

private:
    template <class X>
    struct Tag {
        using type = X;
    };

    template <class M>
    static std::string encodingOf()
    {
        if constexpr (detail::IsObjectPtr<M>::value)
            return "@";
        else if constexpr (detail::HasEncoding<M>::value)
            return Encode<M>::value();
        else
            return "?";
    }

    template <class R, class... A, class MakeImp>
    static void addThunk(Class target, const char* selector, detail::TypeList<A...>, MakeImp makeImp)
    {
        IMP imp = makeImp(Tag<R>{}, Tag<A>{}...);
        class_addMethod(target, sel_registerName(selector), imp,
                        methodEncoding<result_t<R>, canon_t<A>...>());
    }

    Class cls_;
};

namespace detail {
template <class T, class Body>
Class registerWith(const char* name, const void* codeAddress, Body body)
{
    Class cls = registerClass(name, superclassOf<T>(), &allocate<T>, codeAddress);
    ClassBuilder<T> builder(cls);
    body(builder);
    return cls;
}
} // namespace detail

} // namespace objc

// Defines Self::class_() and registers the class when its shared object is loaded.
#define OBJC_REGISTER_NAMED(Self, Name, ...)                                                          \
    ::objc::Class Self::class_()                                                                      \
    {                                                                                                 \
        static const ::objc::Class cls = ::objc::detail::registerWith<Self>(                          \
            Name, reinterpret_cast<const void*>(&Self::class_),                                       \
            [](::objc::ClassBuilder<Self>& c) { (void)c; __VA_ARGS__ });                              \
        return cls;                                                                                   \
    }                                                                                                 \
    namespace {                                                                                       \
    [[maybe_unused]] const ::objc::Class objcRegistrar_##Self = Self::class_();                        \
    }

#define OBJC_REGISTER(Self, ...) OBJC_REGISTER_NAMED(Self, #Self, __VA_ARGS__)
