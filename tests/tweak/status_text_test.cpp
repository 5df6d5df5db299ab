#include "tweak_fixture.h"

#include "common/city_file.h"
#include "common/support_paths.h"
#include "foundation/clock.h"
#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "foundation/timezone.h"
#include "tweak/core/localization.h"
#include "tweak/core/settings.h"
#include "tweak/core/status_text.h"
#include "tweak/lockscreen/dashboard_views.h"
#include "weather/city.h"
#include "weather/weather_preferences.h"

#include <gtest/gtest.h>

using namespace vantorel;

namespace {

constexpr double kDecember8 = 1796688000; // 2026-12-08 00:00 UTC

class StatusTextTest : public tweaktest::TweakTest {
protected:
    StatusTextTest()
    {
        foundation::setDeviceTimeZone("UTC");
        foundation::useVirtualClock(kDecember8);
        currentCity = nullptr;
    }
    ~StatusTextTest() override
    {
        foundation::useRealClock();
        WeatherPreferences::sharedPreferences()->setCelsius(true);
    }
    void at(int hour, int minute) { foundation::setNow(kDecember8 + hour * 3600 + minute * 60); }
    void start(const std::string& settingsEntries = "")
    {
        writeSettings(settingsEntries);
        loadSettings();
        generateLocalizations();
    }
    void writeCity(const char* temperature, long code)
    {
        auto city = std::make_shared<City>();
        city->setTemperature(NSStr(temperature));
        city->setConditionCode(code);
        ASSERT_TRUE(writeCityFile(city));
    }
    void celsius(bool on) { WeatherPreferences::sharedPreferences()->setCelsius(on); }
};

} // namespace

TEST_F(StatusTextTest, DayPartsWithTheDefaultSettings)
{
    start();
    const std::pair<std::pair<int, int>, long> expectations[] = {
        {{6, 0}, 0}, {{5, 59}, 3}, {{11, 59}, 0}, {{12, 0}, 1}, {{17, 59}, 1},
        {{18, 0}, 2}, {{22, 30}, 2}, {{22, 59}, 2}, {{23, 0}, 3}, {{0, 0}, 3},
    };
    for (auto [time, part] : expectations) {
        at(time.first, time.second);
        EXPECT_EQ(dateStatus(), part) << time.first << ":" << time.second;
    }
    at(22, 30);
    EXPECT_EQ(dateStatusString(), "Good Evening, Pal.");
    at(23, 0);
    EXPECT_EQ(dateStatusString(), "Good Night, Pal.");
    // The settings were reduced to their hours on first use and stay so until the next load.
    EXPECT_EQ(settings.morningStart, "06");
    EXPECT_EQ(settings.nightStart, "22");
    loadSettings();
    EXPECT_EQ(settings.nightStart, "22:00");
}

TEST_F(StatusTextTest, DayPartSettingsReduceToTheirHour)
{
    start("<key>morningStart</key><string>6:30</string><key>afternoonStart</key><string>7</string>");
    at(6, 10);
    EXPECT_EQ(dateStatus(), 0);
    EXPECT_EQ(settings.morningStart, "6");
    EXPECT_EQ(settings.afternoonStart, "7");
    at(7, 0);
    EXPECT_EQ(dateStatus(), 1);

    // A night that starts after midnight: the evening runs across midnight up to the
    // night-start hour, which still counts as evening; then night until the morning.
    start("<key>eveningStart</key><string>20:00</string><key>nightStart</key><string>02:00</string>");
    const std::pair<std::pair<int, int>, long> wrapping[] = {
        {{19, 59}, 1}, {{20, 0}, 2}, {{23, 30}, 2}, {{0, 0}, 2}, {{2, 30}, 2}, {{3, 0}, 3}, {{5, 59}, 3}, {{6, 0}, 0},
    };
    for (auto [time, part] : wrapping) {
        at(time.first, time.second);
        EXPECT_EQ(dateStatus(), part) << time.first << ":" << time.second;
    }
    at(23, 30);
    EXPECT_EQ(dateStatusString(), "Good Evening, Pal.");

    // A setting that is no number reads as hour 0.
    start("<key>morningStart</key><string>early</string>");
    at(0, 30);
    EXPECT_EQ(dateStatus(), 0); // morning from hour 0
    at(5, 0);
    EXPECT_EQ(dateStatus(), 0);
}

TEST_F(StatusTextTest, WeatherSentenceInCelsiusAndFahrenheit)
{
    start();
    writeCity("21.5", 32);
    celsius(true);
    EXPECT_EQ(getTempString(), "It's 21.5\u00B0 C and Sunny currently.");
    celsius(false);
    EXPECT_EQ(getTempString(), "It's 71\u00B0 F and Sunny currently.");
    writeCity("-40", 26);
    EXPECT_EQ(getTempString(), "It's -40\u00B0 F and Cloudy currently.");
    for (long code : {0L, 48L, -1L}) {
        writeCity("10", code);
        EXPECT_EQ(getTempString(), "It's 50\u00B0 F and Not Available currently.") << code;
    }
}

TEST_F(StatusTextTest, WeatherSentenceReadsNaturallyInEachLanguage)
{
    writeCity("21.5", 32);
    celsius(true);
    const std::pair<const char*, const char*> languages[] = {
        {"English", "It's 21.5\u00B0 C and Sunny currently."},
        {"German", "Es sind 21.5\u00B0 C und sonnig im Moment."},
        {"French", "Il fait 21.5\u00B0 C et ensoleill\u00E9 actuellement."},
        {"Spanish", "Estamos a 21.5\u00B0 C y soleado en este momento."},
    };
    for (auto [language, sentence] : languages) {
        start(std::string("<key>localizationFolder</key><string>") + language + "</string>");
        EXPECT_EQ(getTempString(), sentence);
    }
}

TEST_F(StatusTextTest, WithoutATemperatureNeitherUnitShowsANumber)
{
    start();
    // No city file, then temperatures that are no number or too large for one.
    const std::pair<const char*, const char*> cities[] = {
        {nullptr, nullptr}, {"", "Sunny"}, {"n/a", "Sunny"}, {"inf", "Sunny"}, {"1e39", "Sunny"}, {"1e30", "Sunny"},
    };
    for (auto [temperature, word] : cities) {
        if (temperature)
            writeCity(temperature, 32);
        const std::string condition = word ? word : "Not Available";
        celsius(false);
        EXPECT_EQ(getTempString(), "It's \u00B0 F and " + condition + " currently.") << (temperature ? temperature : "no file");
        celsius(true);
        EXPECT_EQ(getTempString(), "It's " + std::string(temperature ? temperature : "") + "\u00B0 C and " + condition +
                                       " currently.");
    }
    // A temperature of 0 is a measurement: 32 degrees Fahrenheit.
    writeCity("0", 32);
    celsius(false);
    EXPECT_EQ(getTempString(), "It's 32\u00B0 F and Sunny currently.");
}

TEST_F(StatusTextTest, NoCityFileLeavesTheCityEmpty)
{
    start();
    getTempString();
    EXPECT_EQ(currentCity, nullptr);
    // A file that is no property list at all reads as no city.
    device.writeFile(std::string(CityFile), "garbage");
    didUpdateWeather();
    EXPECT_EQ(currentCity, nullptr);
}

TEST_F(StatusTextTest, ShowingTheSentenceRereadsTheCityFileEvenWithoutALabel)
{
    start();
    writeCity("12", 26);
    ASSERT_EQ(tempStringLabel, nullptr);
    showTempString();
    EXPECT_NE(currentCity, nullptr);
}
