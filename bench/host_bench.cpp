// The lock screen's events through the host's own entry points, with the built library loaded
// and its method replacements installed, as on the device: one addition and one removal at 10
// to 10,000 pending items, a whole layout pass, and the widget panel opened by a tap on its icon
// and closed by a double tap. Items come from ten applications; what the timing adds it takes
// away again outside the timing, and the other way round.
#include "bench_device.h"
#include "springboard/springboard.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A device root with the system's shipped files and plug-ins, and the library loaded as the host's
// substrate loader would load it.
bench::Device& device()
{
    static bench::Device shared(bench::DeviceOptions{});
    return shared;
}

const char* const kApplications[] = {"com.apple.MobileSMS",      "com.apple.mobilemail",   "com.apple.mobilecal",
                                     "com.apple.mobilephone",    "com.apple.reminders",    "com.apple.mobilesafari",
                                     "com.apple.mobileslideshow", "com.apple.weather",     "com.apple.Music",
                                     "com.apple.MobileAddressBook"};

std::shared_ptr<SBAwayBulletinListItem> bulletin(long i)
{
    return SBAwayBulletinListItem::itemWithBulletin(BBBulletin::bulletin(kApplications[i % 10], "Ann", "Lunch?"));
}

// A host with the given number of pending items.
std::unique_ptr<SpringBoard> hostWith(long pending)
{
    auto host = std::make_unique<SpringBoard>();
    for (long i = 0; i < pending; ++i)
        host->addItem(bulletin(i));
    return host;
}

void growth(benchmark::internal::Benchmark* b)
{
    b->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

void Addition(benchmark::State& state)
{
    if (!device().ready())
        return state.SkipWithError("the library did not load");
    auto host = hostWith(state.range(0) - 1);
    for (auto _ : state) {
        state.PauseTiming();
        auto item = bulletin(3);
        state.ResumeTiming();
        host->addItem(item);
        state.PauseTiming();
        host->removeItem(item);
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(Addition)->Apply(growth);

void Removal(benchmark::State& state)
{
    if (!device().ready())
        return state.SkipWithError("the library did not load");
    auto host = hostWith(state.range(0) - 1);
    auto item = bulletin(3);
    host->addItem(item);
    for (auto _ : state) {
        host->removeItem(item);
        state.PauseTiming();
        host->addItem(item);
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(Removal)->Apply(growth);

void LayoutPass(benchmark::State& state)
{
    if (!device().ready())
        return state.SkipWithError("the library did not load");
    auto host = hostWith(state.range(0));
    for (auto _ : state)
        host->layout();
}
BENCHMARK(LayoutPass)->Arg(100)->Unit(benchmark::kMicrosecond);

// The widget icon's centre on the screen.
CGPoint widgetIcon(SpringBoard& host)
{
    const auto container = objc::object_ivar<std::shared_ptr<UIView>>(host.listView().get(), "_containerView");
    return container->convertPointToView(CGPointMake(22 + 16, 87 + 16), nullptr);
}

void PanelOpenAndClose(benchmark::State& state)
{
    if (!device().ready())
        return state.SkipWithError("the library did not load");
    auto host = hostWith(100);
    const CGPoint icon = widgetIcon(*host);
    for (auto _ : state) {
        host->tap(icon, 1);
        host->tap(icon, 2);
    }
}
BENCHMARK(PanelOpenAndClose)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
