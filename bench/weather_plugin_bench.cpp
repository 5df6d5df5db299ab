// The Weather plug-in's refresh: reloadCells with a 24-hour forecast — the city file read and
// converted, then every tile filled again (hour text through ICU, condition picture) at the
// next layout pass. The grid is tall enough for all 24 tiles to be on screen.
#include "common/city_file.h"
#include "common/support_paths.h"
#include "foundation/device_path.h"
#include "foundation/ns_array.h"
#include "foundation/ns_bundle.h"
#include "foundation/ns_string.h"
#include "uikit/collection_view.h"
#include "weather/city.h"
#include "weather/hourly_forecast.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using objc::operator""_sel;

namespace {

// A device root of its own with the built bundle and a city file of 24 hours.
class Device {
public:
    Device()
    {
        std::string pattern = (fs::temp_directory_path() / "vantorel-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
        foundation::setDeviceRoot(root_);

        const std::string bundle = vantorel::pluginBundlePath("Weather");
        fs::create_directories(foundation::hostPath(bundle));
        const fs::path built = fs::path(VANTOREL_DEVICE_ROOT) / bundle.substr(1);
        fs::create_symlink(built / "Weather", foundation::hostPath(bundle + "/Weather"));
        fs::copy_file(built / "Info.plist", foundation::hostPath(bundle + "/Info.plist"));

        auto hours = NSMutableArray::array();
        for (int i = 0; i < 24; ++i) {
            auto hour = std::make_shared<HourlyForecast>();
            hour->setTime(NSStr((i < 10 ? "0" : "") + std::to_string(i) + ":00"));
            hour->setDetail(NSStr(std::to_string(10 + i % 12) + "°"));
            hour->setConditionCode((i * 7) % 48);
            hours->addObject(hour);
        }
        auto city = std::make_shared<City>();
        city->setHourlyForecasts(hours);
        if (!vantorel::writeCityFile(city))
            std::abort();
    }
    ~Device()
    {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

private:
    std::string root_;
};

void BM_ReloadCells24Hours(benchmark::State& state)
{
    Device device;
    objc::Class weather = NSBundle::bundleWithPath(vantorel::pluginBundlePath("Weather"))->principalClass();
    if (!weather) {
        state.SkipWithError("the Weather bundle does not load");
        return;
    }
    auto widget = objc::msgSend<objc::id>(objc::msgSend<objc::id>(weather, "alloc"_sel), "initWithFrame:"_sel,
                                          CGRectMake(0, 0, 320, 560));
    auto grid = objc::msgSend<std::shared_ptr<UICollectionView>>(widget, "weatherSlides"_sel);
    for (auto _ : state) {
        objc::msgSend(widget, "reloadCells"_sel);
        grid->layoutIfNeeded();
    }
    if (grid->visibleCells().size() != 24)
        state.SkipWithError("not every tile was on screen");
}
BENCHMARK(BM_ReloadCells24Hours)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
