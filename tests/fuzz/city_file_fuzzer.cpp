// Any bytes as the city weather file, read as its readers in the host read it: the weather
// sentence (temperature in both units, condition word), the hourly cards of the weather slide
// and the Weather plug-in's grid. Whatever the file holds, the sentence keeps its frame.
#include "common/city_file.h"
#include "common/support_paths.h"
#include "foundation/ns_array.h"
#include "foundation/ns_bundle.h"
#include "foundation/ns_string.h"
#include "tweak/lockscreen/weather_slide.h"
#include "tweak/core/localization.h"
#include "tweak/core/settings.h"
#include "tweak/core/status_text.h"
#include "uikit/view.h"
#include "weather/city.h"
#include "weather/hourly_forecast.h"
#include "weather/weather_preferences.h"

#include "fuzz_device.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* why)
{
    std::fprintf(stderr, "city_file_fuzzer: %s\n", why);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto store = [] {
        fuzzing::deviceRoot();
        fuzzing::copyStaged(vantorel::LanguageSupportFolder);
        fuzzing::copyStaged(vantorel::PluginsFolder);
        loadSettings();
        generateLocalizations();
        return WeatherPreferences::sharedPreferences();
    }();
    static const objc::Class weatherPlugin = [] {
        auto bundle = NSBundle::bundleWithPath(vantorel::pluginBundlePath("Weather"));
        return bundle ? bundle->principalClass() : nullptr;
    }();
    fuzzing::writeFile(vantorel::CityFile, fuzzing::bytesOf(data, size));

    for (const bool celsius : {true, false}) {
        store->setCelsius(celsius);
        const std::string sentence = getTempString();
        if (!sentence.starts_with("It's ") || !sentence.ends_with(" currently."))
            fail("the weather sentence lost its frame");
    }
    const auto city = std::dynamic_pointer_cast<City>(currentCity);
    if (!city && currentCity)
        fail("the file read as something that is not a city");
    if (city && city->hourlyForecasts()) {
        for (const objc::id& entry : *city->hourlyForecasts()) {
            const auto hour = std::dynamic_pointer_cast<HourlyForecast>(entry);
            if (!hour)
                fail("an hour that is not an hourly forecast");
            hour->time();
            hour->detail();
            hour->conditionCode();
        }
    }

    auto slide = std::make_shared<VTWeatherSlide>();
    slide->initWithFrame({0, 0, 50, 110});
    slide->loadStage();
    for (std::uint64_t index = 0; index < 14; ++index) {
        slide->setIndex(index);
        slide->update();
    }
    if (weatherPlugin) {
        const auto grid = std::dynamic_pointer_cast<UIView>(objc::msgSend<objc::id>(
            objc::msgSend<objc::id>(weatherPlugin, "alloc"_sel), "initWithFrame:"_sel, CGRect{0, 0, 300, 220}));
        if (!grid)
            fail("the Weather plug-in made no view");
        grid->layoutIfNeeded();
        objc::msgSend(grid, "reloadCells"_sel);
        grid->layoutIfNeeded();
    }
    return 0;
}
