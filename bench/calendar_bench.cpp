// One page change of the month calendar as the widget area shows it (320 × 210, vertical): the
// scroll view asks for three pages, the calendar steps its month and reloads its three grids,
// and the next layout pass counts them and configures their 126 cells. Target: under 4 ms.
#include "sa_calendar.h"

#include "foundation/clock.h"
#include "foundation/timezone.h"
#include "uikit/drag_simulator.h"

#include <benchmark/benchmark.h>

namespace {

void PageChange(benchmark::State& state)
{
    foundation::useVirtualClock(1773576000.0); // 15 March 2026, noon UTC
    foundation::setDeviceTimeZone("Europe/Berlin");
    auto calendar = objc::alloc<SACalendar>();
    calendar->initWithFrameMonthYearScrollDirectionPagingEnabled(CGRectMake(0, 0, 320, 210), 0, 0, 1, false);
    calendar->layoutIfNeeded();
    const auto& scroll = calendar->scrollView();
    for (auto _ : state) {
        // A whole page forward: the scroll step turns the page and re-centres the content.
        scroll->setContentOffset(CGPointMake(0, 630));
        calendar->layoutIfNeeded();
    }
    benchmark::DoNotOptimize(calendar->month());
}
BENCHMARK(PageChange)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
