#include "fixture_server.h"
#include "foundation/clock.h"
#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "foundation/runloop.h"
#include "foundation/timezone.h"
#include "support/device_root.h"
#include "weather/city.h"
#include "weather/city_updater.h"
#include "weather/hourly_forecast.h"
#include "weather/weather_preferences.h"
#include "weather/weather_service.h"
#include "weather_test_support.h"

#include <gtest/gtest.h>
#include <thread>

using namespace objc;
using weathertest::FixtureServer;
using weathertest::fixture;
using weathertest::PhoneLocation;
using weathertest::ScopedEnvironment;

namespace {

// Records how each answer arrives: which message, for which city, on which thread, and whether
// it came back inside the request call itself.
class RecordingUpdater : public TWCCityUpdater {
    OBJC_CLASS(RecordingUpdater, TWCCityUpdater)
public:
    struct Outcome {
        std::string message;
        std::shared_ptr<City> city;
        std::thread::id thread;
        bool insideRequest = false;
    };

    void parsedResultCity(const std::shared_ptr<City>& city) override { note("parsedResultCity:", city); }
    void failCity(const std::shared_ptr<City>& city) override { note("failCity:", city); }
    void cleanUp() override
    {
        ++cleanUps;
        TWCCityUpdater::cleanUp();
    }

    // Asks through the runtime, as the daemon does.
    void request(const std::shared_ptr<City>& city)
    {
        requesting = true;
        msgSend(self(), "updateWeatherForCity:"_sel, city);
        requesting = false;
    }

    std::vector<Outcome> outcomes;
    std::shared_ptr<int> answersSeen = std::make_shared<int>(0);
    bool requesting = false;
    int cleanUps = 0;

private:
    void note(const char* message, const std::shared_ptr<City>& city)
    {
        ++*answersSeen;
        outcomes.push_back({message, city, std::this_thread::get_id(), requesting});
    }
};

// The daemon's shape: no queue of its own, nothing to clean up.
class DaemonStyleUpdater : public RecordingUpdater {
    OBJC_CLASS(DaemonStyleUpdater, RecordingUpdater)
public:
    void _updateNextPendingCity() override { ++nextPendingCalls; }
    void cleanUp() override { ++cleanUps; }
    int nextPendingCalls = 0;
};

class HookedUpdater : public RecordingUpdater {
    OBJC_CLASS(HookedUpdater, RecordingUpdater)
};

std::shared_ptr<City> cityAt(double latitude, double longitude)
{
    auto city = std::make_shared<City>();
    city->setLocation(std::make_shared<PhoneLocation>(latitude, longitude));
    return city;
}

std::string text(const std::shared_ptr<NSString>& s) { return s ? s->string() : "(nil)"; }

std::shared_ptr<HourlyForecast> hourAt(const City& city, unsigned long index)
{
    return std::dynamic_pointer_cast<HourlyForecast>(city.hourlyForecasts()->objectAtIndex(index));
}

bool runUntilAnswered(const RecordingUpdater& updater, std::size_t count = 1)
{
    return NSRunLoop::mainRunLoop()->runUntil([&] { return updater.outcomes.size() >= count; }, 15);
}

class WeatherCityUpdater : public testsupport::DeviceRootTest {
protected:
    FixtureServer server;
    ScopedEnvironment service{"VANTOREL_WEATHER_SERVICE", "open-meteo"};
    ScopedEnvironment baseURL{"VANTOREL_WEATHER_BASE_URL", server.baseURL()};
    ScopedEnvironment timeout{"VANTOREL_WEATHER_TIMEOUT", "0.5"};
    const std::thread::id mainThread = std::this_thread::get_id();

    void expectDeliveredOnTheRunLoop(const RecordingUpdater::Outcome& outcome)
    {
        EXPECT_EQ(outcome.thread, mainThread);
        EXPECT_FALSE(outcome.insideRequest);
    }
};

} // namespace

OBJC_REGISTER(RecordingUpdater)
OBJC_REGISTER(DaemonStyleUpdater)
OBJC_REGISTER(HookedUpdater)

TEST_F(WeatherCityUpdater, AGoodAnswerFillsTheCityOnTheMainRunLoop)
{
    server.answer(200, fixture("forecast_good.json"));
    auto updater = std::make_shared<RecordingUpdater>();
    auto city = cityAt(48.5, 9.25);
    updater->request(city);
    EXPECT_TRUE(updater->outcomes.empty());
    EXPECT_TRUE(updater->isUpdatingWeather());
    ASSERT_TRUE(runUntilAnswered(*updater));

    const auto& outcome = updater->outcomes.front();
    EXPECT_EQ(outcome.message, "parsedResultCity:");
    EXPECT_EQ(outcome.city, city);
    expectDeliveredOnTheRunLoop(outcome);
    EXPECT_FALSE(updater->isUpdatingWeather());

    EXPECT_EQ(text(city->temperature()), "21.5");
    EXPECT_FLOAT_EQ(city->temperature()->floatValue(), 21.5f);
    EXPECT_EQ(city->conditionCode(), 30);
    EXPECT_EQ(city->locationID(), nullptr); // Open-Meteo has no place identifiers
    ASSERT_TRUE(city->hourlyForecasts());
    ASSERT_EQ(city->hourlyForecasts()->count(), 12u);
    EXPECT_EQ(text(hourAt(*city, 0)->time()), "14:00");
    EXPECT_EQ(text(hourAt(*city, 0)->detail()), "22\u00B0");
    EXPECT_EQ(hourAt(*city, 0)->conditionCode(), 30);
    EXPECT_EQ(text(hourAt(*city, 4)->detail()), "20\u00B0");
    EXPECT_EQ(hourAt(*city, 4)->conditionCode(), 12);
    EXPECT_EQ(text(hourAt(*city, 8)->time()), "22:00");
    EXPECT_EQ(hourAt(*city, 8)->conditionCode(), 31);
    EXPECT_EQ(text(hourAt(*city, 11)->time()), "01:00");

    ASSERT_EQ(server.requests().size(), 1u);
    const std::string request = server.requests().front();
    EXPECT_TRUE(request.starts_with("/v1/forecast?")) << request;
    for (const char* part : {"latitude=48.500000", "longitude=9.250000", "current=temperature_2m,weather_code,is_day",
                             "hourly=temperature_2m,weather_code,is_day", "forecast_hours=12", "timezone=auto"})
        EXPECT_NE(request.find(part), std::string::npos) << part << " missing from " << request;

    // Once nothing is left to do, the updater cleans up after itself.
    EXPECT_EQ(updater->cleanUps, 1);
}

TEST_F(WeatherCityUpdater, HourlyDetailsFollowTheUnitSetting)
{
    server.answer(200, fixture("forecast_good.json"));
    auto store = WeatherPreferences::sharedPreferences();
    const bool before = store->isCelsius();
    store->setCelsius(false);
    auto updater = std::make_shared<RecordingUpdater>();
    auto city = cityAt(48.5, 9.25);
    updater->request(city);
    const bool answered = runUntilAnswered(*updater);
    store->setCelsius(before);

    ASSERT_TRUE(answered);
    EXPECT_EQ(text(city->temperature()), "21.5"); // the temperature itself stays in Celsius
    EXPECT_EQ(text(hourAt(*city, 0)->detail()), "71\u00B0");
    EXPECT_EQ(text(hourAt(*city, 11)->detail()), "55\u00B0");
}

TEST_F(WeatherCityUpdater, BadAnswersAndSilenceEndInFailCityOnTheMainRunLoop)
{
    struct Case {
        const char* what;
        int status;
        std::string body;
        bool silent;
    };
    const Case cases[] = {
        {"server error", 500, fixture("forecast_good.json"), false},
        {"error answer", 400, fixture("forecast_error.json"), false},
        {"malformed body", 200, fixture("forecast_truncated.json"), false},
        {"incomplete body", 200, fixture("forecast_missing_current.json"), false},
        {"no answer within the timeout", 0, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.silent)
            server.neverAnswer();
        else
            server.answer(c.status, c.body);
        auto updater = std::make_shared<RecordingUpdater>();
        auto city = cityAt(48.5, 9.25);
        city->setName(NSStr("Tübingen"));
        updater->request(city);
        EXPECT_TRUE(updater->outcomes.empty());
        ASSERT_TRUE(runUntilAnswered(*updater));
        ASSERT_EQ(updater->outcomes.size(), 1u);
        const auto& outcome = updater->outcomes.front();
        EXPECT_EQ(outcome.message, "failCity:");
        EXPECT_EQ(outcome.city, city);
        expectDeliveredOnTheRunLoop(outcome);
        // The city is handed back as it was.
        EXPECT_EQ(city->temperature(), nullptr);
        EXPECT_EQ(city->hourlyForecasts(), nullptr);
        EXPECT_EQ(city->conditionCode(), 0);
        EXPECT_EQ(text(city->name()), "Tübingen");
    }
}

TEST_F(WeatherCityUpdater, ACityWithoutAUsableLocationFailsWithoutAsking)
{
    server.answer(200, fixture("forecast_good.json"));
    auto updater = std::make_shared<RecordingUpdater>();
    auto nowhere = std::make_shared<City>();
    auto oddPlace = std::make_shared<City>();
    oddPlace->setLocation(NSStr("somewhere"));
    updater->request(nowhere);
    updater->request(oddPlace);
    updater->request(nullptr);
    EXPECT_TRUE(updater->outcomes.empty());
    ASSERT_TRUE(runUntilAnswered(*updater, 2));
    for (const auto& outcome : updater->outcomes) {
        EXPECT_EQ(outcome.message, "failCity:");
        expectDeliveredOnTheRunLoop(outcome);
    }
    EXPECT_EQ(updater->outcomes[0].city, nowhere);
    EXPECT_EQ(updater->outcomes[1].city, oddPlace);
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(WeatherCityUpdater, TheResultTravelsAsARuntimeMessageThatAHookSees)
{
    static void (*previous)(Object*, SEL, const ObjectRef&) = nullptr;
    static int hooked = 0;
    MSHookMessageEx(HookedUpdater::class_(), "parsedResultCity:"_sel,
                    +[](Object* self, SEL sel, const ObjectRef& city) {
                        ++hooked;
                        previous(self, sel, city);
                    },
                    &previous);
    ASSERT_NE(previous, nullptr);

    server.answer(200, fixture("forecast_good.json"));
    auto updater = std::make_shared<HookedUpdater>();
    updater->request(cityAt(48.5, 9.25));
    ASSERT_TRUE(runUntilAnswered(*updater));
    EXPECT_EQ(hooked, 1);
    EXPECT_EQ(updater->outcomes.front().message, "parsedResultCity:");
}

TEST_F(WeatherCityUpdater, ADaemonThatDropsTheQueueStillGetsEveryAnswer)
{
    server.answer(200, fixture("forecast_good.json"));
    auto updater = std::make_shared<DaemonStyleUpdater>();
    auto first = cityAt(48.5, 9.25);
    auto second = cityAt(48.52, 9.06);
    updater->request(first);
    updater->request(second); // overlaps the first
    ASSERT_TRUE(runUntilAnswered(*updater, 2));
    for (const auto& outcome : updater->outcomes) {
        EXPECT_EQ(outcome.message, "parsedResultCity:");
        expectDeliveredOnTheRunLoop(outcome);
    }
    EXPECT_EQ(updater->nextPendingCalls, 2); // sent after each answer, and overridden
    EXPECT_EQ(updater->cleanUps, 0);         // only the base would have cleaned up
    EXPECT_EQ(text(first->temperature()), "21.5");
    EXPECT_EQ(text(second->temperature()), "21.5");
}

TEST_F(WeatherCityUpdater, QueuedCitiesAreFetchedOneAfterAnother)
{
    ScopedEnvironment offline("VANTOREL_WEATHER_SERVICE", "offline");
    auto updater = std::make_shared<RecordingUpdater>();
    auto a = cityAt(48.5, 9.25), b = cityAt(52.52, 13.4), c = cityAt(-33.87, 151.21);
    msgSend(updater, "updateWeatherForCities:"_sel, NSArray::arrayWithObjects({a, NSStr("not a city"), b, c}));
    EXPECT_TRUE(updater->isUpdatingWeather());
    ASSERT_TRUE(runUntilAnswered(*updater, 3));
    ASSERT_EQ(updater->outcomes.size(), 3u);
    EXPECT_EQ(updater->outcomes[0].city, a);
    EXPECT_EQ(updater->outcomes[1].city, b);
    EXPECT_EQ(updater->outcomes[2].city, c);
    for (const auto& outcome : updater->outcomes)
        EXPECT_EQ(outcome.message, "parsedResultCity:");
    EXPECT_EQ(updater->cleanUps, 1);
    EXPECT_FALSE(updater->isUpdatingWeather());
}

TEST_F(WeatherCityUpdater, TheDeviceConfigurationChoosesTheService)
{
    {
        ScopedEnvironment unset("VANTOREL_WEATHER_SERVICE", std::nullopt);
        EXPECT_EQ(std::make_shared<RecordingUpdater>()->weatherService()->name(), "OfflineWeatherService");
    }
    {
        ScopedEnvironment unknown("VANTOREL_WEATHER_SERVICE", "carrier-pigeon");
        EXPECT_EQ(std::make_shared<RecordingUpdater>()->weatherService()->name(), "OfflineWeatherService");
    }
    EXPECT_EQ(std::make_shared<RecordingUpdater>()->weatherService()->name(), "OpenMeteoWeatherService");
}

TEST_F(WeatherCityUpdater, TheOfflineServiceFillsCitiesTheSameWayForTheSamePlaceAndHour)
{
    ScopedEnvironment offline("VANTOREL_WEATHER_SERVICE", std::nullopt);
    const std::string previousZone = foundation::deviceTimeZone();
    foundation::setDeviceTimeZone("Europe/Berlin");
    foundation::useVirtualClock(1715695200); // 2024-05-14 14:00 UTC
    auto updater = std::make_shared<RecordingUpdater>();
    auto one = cityAt(48.5, 9.25), two = cityAt(48.5, 9.25);
    updater->request(one);
    updater->request(two);
    EXPECT_TRUE(updater->outcomes.empty());
    const bool answered = runUntilAnswered(*updater, 2);
    foundation::useRealClock();
    foundation::setDeviceTimeZone(previousZone);

    ASSERT_TRUE(answered);
    for (const auto& outcome : updater->outcomes) {
        EXPECT_EQ(outcome.message, "parsedResultCity:");
        expectDeliveredOnTheRunLoop(outcome);
    }
    ASSERT_TRUE(one->temperature() && one->hourlyForecasts());
    EXPECT_EQ(text(one->temperature()), text(two->temperature()));
    EXPECT_EQ(one->conditionCode(), two->conditionCode());
    ASSERT_EQ(one->hourlyForecasts()->count(), 12u);
    for (unsigned long i = 0; i < 12; ++i) {
        EXPECT_EQ(text(hourAt(*one, i)->time()), text(hourAt(*two, i)->time()));
        EXPECT_EQ(text(hourAt(*one, i)->detail()), text(hourAt(*two, i)->detail()));
    }
    EXPECT_EQ(text(hourAt(*one, 0)->time()), "16:00"); // on the device clock
    EXPECT_EQ(one->locationID(), nullptr);
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(WeatherCityUpdater, AnAnswerForAnUpdaterThatIsGoneIsDropped)
{
    server.answer(200, fixture("forecast_good.json"));
    auto updater = std::make_shared<RecordingUpdater>();
    auto answers = updater->answersSeen;
    updater->request(cityAt(48.5, 9.25));
    updater.reset();
    NSRunLoop::mainRunLoop()->runUntil([&] { return server.requests().size() == 1; }, 5);
    NSRunLoop::mainRunLoop()->runForSeconds(0.3);
    EXPECT_EQ(*answers, 0);
}
