// The library's settings load, as it runs at start-up and on every "loadVantorelS": the settings
// file read and every value replaced, the chosen plug-in's bundle and icon looked up. Once with
// the file the Settings app writes (every key set, the Calendar chosen) and once with no file
// (every default).
#include "bench_device.h"
#include "common/support_paths.h"
#include "foundation/device_path.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_number.h"
#include "foundation/ns_string.h"
#include "tweak/core/settings.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// A device root of its own with the shipped plug-ins and language files (the library itself
// is linked in).
bench::Device& device()
{
    static bench::Device shared({.plugins = true, .loadLibrary = false});
    return shared;
}

// The file as the Settings app leaves it after the user has been through every row.
void writeFullSettings()
{
    std::filesystem::create_directories(std::filesystem::path(foundation::hostPath(vantorel::SettingsFile)).parent_path());
    auto file = NSMutableDictionary::dictionary();
    file->setObjectForKey(NSStr("Ann"), "Name");
    file->setObjectForKey(NSStr("FFCC00"), "textColor");
    file->setObjectForKey(NSStr("FFFFFF"), "glyphColor");
    file->setObjectForKey(NSStr("202040"), "backgroundBlurColor");
    file->setObjectForKey(NSNumber::numberWithFloat(0.4f), "backgroundBlurAlpha");
    file->setObjectForKey(NSNumber::numberWithBool(false), "removeNW");
    file->setObjectForKey(NSStr("05:30"), "morningStart");
    file->setObjectForKey(NSStr("12:00"), "afternoonStart");
    file->setObjectForKey(NSStr("18:30"), "eveningStart");
    file->setObjectForKey(NSStr("23:00"), "nightStart");
    file->setObjectForKey(NSStr("English"), "localizationFolder");
    file->setObjectForKey(NSNumber::numberWithBool(true), "enabled");
    file->setObjectForKey(NSNumber::numberWithBool(true), "blurEnabled");
    file->setObjectForKey(NSNumber::numberWithBool(false), "allWidgets");
    file->setObjectForKey(NSStr("Calendar"), "SelectedWidget");
    if (!file->writeToFileAtomically(vantorel::SettingsFile, true))
        std::abort();
}

void removeSettings()
{
    std::error_code ignored;
    std::filesystem::remove(foundation::hostPath(vantorel::SettingsFile), ignored);
}

void LoadSettings(benchmark::State& state)
{
    device();
    writeFullSettings();
    loadSettings();
    if (!vantorel::settings.selectedWidgetClass)
        return state.SkipWithError("the Calendar plug-in did not load");
    for (auto _ : state)
        loadSettings();
    benchmark::DoNotOptimize(vantorel::settings.Name);
}
BENCHMARK(LoadSettings)->Unit(benchmark::kMicrosecond);

void LoadSettingsWithoutFile(benchmark::State& state)
{
    device();
    removeSettings();
    for (auto _ : state)
        loadSettings();
    benchmark::DoNotOptimize(vantorel::settings.Name);
}
BENCHMARK(LoadSettingsWithoutFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
