// The same three sends through GNU libobjc, the peer the platform runtime is measured against:
// each send is what GCC emits for an Objective-C message (objc_msg_lookup, then a call of the
// implementation found), to methods added at run time. Built apart from the platform's
// headers, whose names are the same as libobjc's.
#include <objc/message.h>
#include <objc/runtime.h>

#include <benchmark/benchmark.h>

namespace {

// Implementations travel as IMP and are called as what they are.
template <class F>
IMP asImp(F* function)
{
    return reinterpret_cast<IMP>(reinterpret_cast<void (*)()>(function));
}
template <class F>
F* asFunction(IMP imp)
{
    return reinterpret_cast<F*>(reinterpret_cast<void (*)()>(imp));
}

int counter = 0;

int bump(id, SEL)
{
    benchmark::ClobberMemory();
    return ++counter;
}

IMP originalBump = nullptr;
int replacedBump(id self, SEL cmd) { return asFunction<int(id, SEL)>(originalBump)(self, cmd) + 1; }

double height(id, SEL, id table, id indexPath)
{
    benchmark::ClobberMemory();
    return table && indexPath ? 44.0 : 0.0;
}

// A counter class, a subclass whose bump is replaced (the replacement calls the original), and
// a plain class for the arguments.
struct Classes {
    Classes()
    {
        counter = objc_allocateClassPair(Nil, "BenchCounter", 0);
        class_addMethod(counter, bumpSel, asImp(&bump), "i@:");
        class_addMethod(counter, heightSel, asImp(&height), "d@:@@");
        objc_registerClassPair(counter);
        replaced = objc_allocateClassPair(counter, "BenchReplaced", 0);
        class_addMethod(replaced, bumpSel, asImp(&bump), "i@:");
        objc_registerClassPair(replaced);
        originalBump =
            method_setImplementation(class_getInstanceMethod(replaced, bumpSel), asImp(&replacedBump));
        plain = objc_allocateClassPair(Nil, "BenchPlain", 0);
        objc_registerClassPair(plain);
    }
    SEL bumpSel = sel_registerName("bump");
    SEL heightSel = sel_registerName("tableView:heightForRowAtIndexPath:");
    Class counter = Nil;
    Class replaced = Nil;
    Class plain = Nil;
};

Classes& classes()
{
    static Classes shared;
    return shared;
}

template <class R, class... A>
R send(id receiver, SEL sel, A... args)
{
    return asFunction<R(id, SEL, A...)>(objc_msg_lookup(receiver, sel))(receiver, sel, args...);
}

void GnuCachedSend(benchmark::State& state)
{
    id volatile target = class_createInstance(classes().counter, 0);
    const SEL sel = classes().bumpSel;
    for (auto _ : state)
        benchmark::DoNotOptimize(send<int>(target, sel));
}
BENCHMARK(GnuCachedSend);

void GnuHookedSend(benchmark::State& state)
{
    id volatile target = class_createInstance(classes().replaced, 0);
    const SEL sel = classes().bumpSel;
    for (auto _ : state)
        benchmark::DoNotOptimize(send<int>(target, sel));
}
BENCHMARK(GnuHookedSend);

void GnuTwoObjectSend(benchmark::State& state)
{
    id volatile target = class_createInstance(classes().counter, 0);
    id table = class_createInstance(classes().plain, 0);
    id indexPath = class_createInstance(classes().plain, 0);
    const SEL sel = classes().heightSel;
    for (auto _ : state)
        benchmark::DoNotOptimize(send<double>(target, sel, table, indexPath));
}
BENCHMARK(GnuTwoObjectSend);

} // namespace
