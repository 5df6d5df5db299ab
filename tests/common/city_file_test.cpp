#include "common/city_file.h"
#include "common/support_paths.h"
#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "support/device_root.h"
#include "weather/city.h"
#include "weather/hourly_forecast.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

std::shared_ptr<City> makeCity(const char* name, const char* temperature, long code, int hours)
{
    auto city = std::make_shared<City>();
    city->setName(NSStr(name));
    city->setTemperature(NSStr(temperature));
    city->setConditionCode(code);
    auto forecasts = NSMutableArray::array();
    for (int h = 0; h < hours; ++h) {
        auto forecast = std::make_shared<HourlyForecast>();
        forecast->setTime(NSStr((h < 10 ? "0" : "") + std::to_string(h) + ":00"));
        forecast->setDetail(NSStr(std::string(temperature) + "\u00B0"));
        forecast->setConditionCode(code);
        forecasts->addObject(forecast);
    }
    city->setHourlyForecasts(forecasts);
    return city;
}

std::string signature(const std::shared_ptr<City>& city)
{
    if (!city)
        return "<none>";
    std::string text = city->name()->string() + "|" + city->temperature()->string() + "|" +
                       std::to_string(city->conditionCode()) + "|";
    if (auto hours = city->hourlyForecasts())
        for (auto& entry : *hours) {
            auto forecast = std::dynamic_pointer_cast<HourlyForecast>(entry);
            text += forecast->time()->string() + "/" + forecast->detail()->string() + ",";
        }
    return text;
}

} // namespace

TEST(CityFile, MissingFileReadsAsNoCity)
{
    testsupport::TemporaryDeviceRoot device;
    EXPECT_EQ(vantorel::readCityFile(), nullptr);
    device.writeFile(std::string(vantorel::CityFile), "<plist><array/></plist>");
    EXPECT_EQ(vantorel::readCityFile(), nullptr);
}

TEST(CityFile, AReaderNeverSeesAMixtureWhileAnotherProcessRewritesIt)
{
    testsupport::TemporaryDeviceRoot device;
    device.makeFolder(std::string(vantorel::SupportFolder));
    auto north = makeCity("North", "-3.5", 16, 24);
    auto south = makeCity("South", "31", 32, 12);
    ASSERT_TRUE(vantorel::writeCityFile(north));
    const std::string expected[] = {signature(north), signature(south)};

    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        for (int i = 0; i < 1000; ++i)
            if (!vantorel::writeCityFile(i % 2 ? north : south))
                _exit(1);
        _exit(0);
    }
    int reads = 0;
    int status = 0;
    while (waitpid(writer, &status, WNOHANG) == 0) {
        auto city = std::dynamic_pointer_cast<City>(vantorel::readCityFile());
        const std::string seen = signature(city);
        ASSERT_TRUE(seen == expected[0] || seen == expected[1]) << "read " << reads << ": " << seen;
        ++reads;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GT(reads, 0);
}
