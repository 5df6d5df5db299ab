// One addition to the lock screen's list through the host's own entry point, with the built
// library loaded and its method replacements installed: the list controller adds the item and
// the library hands it to the apps hub, which counts the item's group over the whole list,
// rebuilds that group's icon and badge (badge picture read from disk, count drawn in the text
// colour read from the settings file) and lays the row out again. The list holds 10, 100 or
// 1,000 pending items from ten applications; the item is taken away again outside the timing.
#include "bench_device.h"
#include "springboard/springboard.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A device root with the system's shipped files (no plug-ins: the widget panel stays empty), and the library loaded as the host's
// substrate loader would load it.
bench::Device& device()
{
    static bench::Device shared(bench::DeviceOptions{.plugins = false});
    return shared;
}

void BM_AdditionThroughTheHost(benchmark::State& state)
{
    if (!device().ready()) {
        state.SkipWithError("the library did not load");
        return;
    }
    const char* apps[] = {"com.apple.MobileSMS", "com.apple.mobilemail", "com.apple.mobilecal", "com.apple.mobilephone",
                          "com.apple.reminders", "com.apple.mobilesafari", "com.apple.mobileslideshow",
                          "com.apple.weather", "com.apple.Music", "com.apple.MobileAddressBook"};
    SpringBoard host;
    for (long i = 0; i + 1 < state.range(0); ++i)
        host.addBulletin(apps[i % 10], "Ann", "Lunch?");
    for (auto _ : state) {
        state.PauseTiming();
        auto item = SBAwayBulletinListItem::itemWithBulletin(BBBulletin::bulletin(apps[0], "Ann", "Lunch?"));
        state.ResumeTiming();
        host.addItem(item);
        state.PauseTiming();
        host.removeItem(item);
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AdditionThroughTheHost)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
