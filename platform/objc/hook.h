// Method replacement in the substrate's style: the previous implementation is handed back so
// that the replacement can call through to it.
#pragma once

#include "message.h"

namespace objc {

// Replaces the method of the class (installing it on the class itself when the class only
// inherits it) and writes the previous implementation to *previous before the replacement can
// run. A nil class or a selector nobody answers changes nothing and writes nullptr.
void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* previous);

// The same with typed functions: the replacement's signature must match the method's encoding.
template <class R, class... A>
void MSHookMessageEx(Class cls, SEL sel, R (*replacement)(Object*, SEL, A...), R (**previous)(Object*, SEL, A...))
{
    static_assert((std::is_same_v<A, canon_t<A>> && ...),
                  "object arguments of a replacement are const objc::ObjectRef&");
    static_assert(std::is_same_v<R, result_t<R>>, "an object result of a replacement is objc::id");
    if (cls) {
        if (Method m = cls->lookup(sel); m && m->types != methodEncoding<R, A...>())
            detail::encodingMismatch(cls, sel, m->types, methodEncoding<R, A...>());
    }
    MSHookMessageEx(cls, sel, reinterpret_cast<IMP>(replacement), reinterpret_cast<IMP*>(previous));
}

} // namespace objc
