// A cached message send beside a C++ virtual call on the same object.
#include "objc/objc.h"

#include <benchmark/benchmark.h>

using namespace objc;

namespace {
class Counter : public Object {
    OBJC_CLASS(Counter, Object)
    [[gnu::noinline]] virtual void bump() { benchmark::ClobberMemory(); ++count; }
    long count = 0;
};
} // namespace

OBJC_REGISTER(Counter, c.method<&Counter::bump>("bump");)

static void VirtualCall(benchmark::State& state)
{
    auto counter = std::make_shared<Counter>();
    Counter* volatile target = counter.get();
    for (auto _ : state)
        target->bump();
    benchmark::DoNotOptimize(counter->count);
}
BENCHMARK(VirtualCall);

static void MessageSend(benchmark::State& state)
{
    auto counter = std::make_shared<Counter>();
    Object* volatile target = counter.get();
    for (auto _ : state)
        msgSend(target, "bump"_sel);
    benchmark::DoNotOptimize(counter->count);
}
BENCHMARK(MessageSend);

BENCHMARK_MAIN();
