// Message sends of the platform runtime beside a C++ virtual call and, when libobjc is
// installed (bench/setup), the same sends through GNU libobjc in the same run: a cached send
// answering an int, a send to a method replaced by a hook that calls the original, and a send
// with two object arguments in the shape of "tableView:heightForRowAtIndexPath:".
#include "objc/objc.h"

#include <benchmark/benchmark.h>

using namespace objc;

namespace {

class BenchTable : public Object {
    OBJC_CLASS(BenchTable, Object)
};

class BenchIndexPath : public Object {
    OBJC_CLASS(BenchIndexPath, Object)
};

class Counter : public Object {
    OBJC_CLASS(Counter, Object)
    [[gnu::noinline]] virtual int bump()
    {
        benchmark::ClobberMemory();
        return ++count;
    }
    [[gnu::noinline]] virtual double tableViewHeightForRowAtIndexPath(const std::shared_ptr<BenchTable>& table,
                                                                      const std::shared_ptr<BenchIndexPath>& indexPath)
    {
        benchmark::ClobberMemory();
        return table && indexPath ? 44.0 : 0.0;
    }
    int count = 0;
};

// A subclass whose bump is replaced by name; the replacement calls the original.
class Replaced : public Counter {
    OBJC_CLASS(Replaced, Counter)
};

int (*originalBump)(Object*, SEL) = nullptr;
int replacedBump(Object* self, SEL cmd) { return originalBump(self, cmd) + 1; }

} // namespace

OBJC_REGISTER(BenchTable)
OBJC_REGISTER(BenchIndexPath)
OBJC_REGISTER(Counter,
    c.method<&Counter::bump>("bump");
    c.method<&Counter::tableViewHeightForRowAtIndexPath>("tableView:heightForRowAtIndexPath:");)
OBJC_REGISTER(Replaced)

namespace {

void VirtualCall(benchmark::State& state)
{
    auto counter = std::make_shared<Counter>();
    Counter* volatile target = counter.get();
    for (auto _ : state)
        benchmark::DoNotOptimize(target->bump());
}
BENCHMARK(VirtualCall);

void CachedSend(benchmark::State& state)
{
    auto counter = std::make_shared<Counter>();
    Object* volatile target = counter.get();
    for (auto _ : state)
        benchmark::DoNotOptimize(msgSend<int>(target, "bump"_sel));
}
BENCHMARK(CachedSend);

void HookedSend(benchmark::State& state)
{
    static const bool hooked = (MSHookMessageEx(Replaced::class_(), "bump"_sel, &replacedBump, &originalBump), true);
    auto counter = std::make_shared<Replaced>();
    Object* volatile target = counter.get();
    for (auto _ : state)
        benchmark::DoNotOptimize(msgSend<int>(target, "bump"_sel));
    benchmark::DoNotOptimize(hooked);
}
BENCHMARK(HookedSend);

void TwoObjectSend(benchmark::State& state)
{
    auto counter = std::make_shared<Counter>();
    auto table = std::make_shared<BenchTable>();
    auto indexPath = std::make_shared<BenchIndexPath>();
    Object* volatile target = counter.get();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            msgSend<double>(target, "tableView:heightForRowAtIndexPath:"_sel, table, indexPath));
}
BENCHMARK(TwoObjectSend);

} // namespace

BENCHMARK_MAIN();
