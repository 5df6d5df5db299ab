// The methods the library replaces or adds on the host's classes, installed in table order at
// start-up when the library is enabled.
//
// Convention: each replacement or addition is a free function in
// vantorel::hooks::<HostClass>, named after its selector by the project's rule (colons
// dropped, later keywords capitalised, the host's leading underscore kept) and shaped
// (self, _cmd, arguments...). A row names the function once: a replace row gives it its own
// slot for the host's previous implementation, which the function reaches with
// callHost<&itself>(...); an add row derives the method's type encoding from the function's
// signature. Both check their signature against the host's method when they are installed.
#pragma once

#include "objc/hook.h"
#include "objc/objc.h"

#include <span>
#include <type_traits>
#include <utility>

namespace vantorel {

namespace detail {

template <class F>
struct HookSignature;
template <class R, class... A>
struct HookSignature<R (*)(objc::Object*, objc::SEL, A...)> {
    using Ret = R;
    static_assert((std::is_same_v<A, objc::canon_t<A>> && ...),
                  "object arguments of a hook are const objc::ObjectRef&");
    static_assert(std::is_same_v<R, objc::result_t<R>>, "an object result of a hook is objc::id");
    static const char* encoding() { return objc::methodEncoding<R, A...>(); }
};

} // namespace detail

// The host's previous implementation of the method that Replacement stands in for: one slot
// per replacement function, written once when its row is installed, before it can run.
template <auto Replacement>
inline constinit decltype(Replacement) hostImplementation = nullptr;

// Calls the host's implementation from inside the replacement. When the row found nothing to
// replace (the host lacks the class) it does nothing and answers the zero value.
template <auto Replacement, class... Args>
auto callHost(objc::Object* self, objc::SEL cmd, Args&&... args) ->
    typename detail::HookSignature<decltype(Replacement)>::Ret
{
    using R = typename detail::HookSignature<decltype(Replacement)>::Ret;
    if (auto host = hostImplementation<Replacement>)
        return host(self, cmd, std::forward<Args>(args)...);
    if constexpr (!std::is_void_v<R>)
        return R{};
}

struct HookRow {
    enum class Kind { Replace, Add };
    const char* className;
    const char* selector;
    Kind kind;
    // The function's address (its own code, so that one can tell which methods are the library's).
    objc::IMP implementation;
    // The encoding derived from the function's signature.
    const char* (*encoding)();
    // Installs the row on the class (nil: the host lacks it, nothing happens).
    void (*install)(objc::Class cls, objc::SEL sel);
};

namespace detail {

template <auto Fn>
void installReplacement(objc::Class cls, objc::SEL sel)
{
    // The typed hook stops with a diagnostic when the host's method has another signature.
    objc::MSHookMessageEx(cls, sel, Fn, &hostImplementation<Fn>);
}

void checkAddition(objc::Class cls, objc::SEL sel, const char* encoding);

template <auto Fn>
void installAddition(objc::Class cls, objc::SEL sel)
{
    const char* encoding = HookSignature<decltype(Fn)>::encoding();
    checkAddition(cls, sel, encoding);
    objc::class_addMethod(cls, sel, reinterpret_cast<objc::IMP>(Fn), encoding);
}

} // namespace detail

template <auto Fn>
HookRow replaceRow(const char* className, const char* selector)
{
    return {className, selector, HookRow::Kind::Replace, reinterpret_cast<objc::IMP>(Fn),
            &detail::HookSignature<decltype(Fn)>::encoding, &detail::installReplacement<Fn>};
}

template <auto Fn>
HookRow addRow(const char* className, const char* selector)
{
    return {className, selector, HookRow::Kind::Add, reinterpret_cast<objc::IMP>(Fn),
            &detail::HookSignature<decltype(Fn)>::encoding, &detail::installAddition<Fn>};
}

// The table, in order of installation.
std::span<const HookRow> hookTable();
// Installs every row: classes by name, MSHookMessageEx for replace rows, class_addMethod for
// add rows (its result ignored). A missing class leaves its row's slot empty.
void installHookTable();

} // namespace vantorel
