#include "fixture_server.h"
#include "weather/http_fetch.h"

#include <chrono>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using weathertest::FixtureServer;

TEST(WeatherHttpFetch, BringsBackTheStatusAndTheBody)
{
    FixtureServer server;
    server.answer(200, "{\"ok\":true}");
    auto response = weather::httpGet(server.baseURL() + "/v1/forecast?latitude=1", 5s);
    EXPECT_TRUE(response.ok());
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, "{\"ok\":true}");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0], "/v1/forecast?latitude=1");

    server.answer(404, "no such thing", "text/plain");
    response = weather::httpGet(server.baseURL() + "/elsewhere", 5s);
    EXPECT_TRUE(response.transferred);
    EXPECT_FALSE(response.ok());
    EXPECT_EQ(response.status, 404);
}

TEST(WeatherHttpFetch, GivesUpOnSilenceRefusalAndRunawayAnswers)
{
    FixtureServer server;
    server.neverAnswer();
    const auto start = std::chrono::steady_clock::now();
    auto response = weather::httpGet(server.baseURL() + "/", 300ms);
    EXPECT_FALSE(response.transferred);
    EXPECT_FALSE(response.error.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);

    server.answer(200, std::string(weather::kMaxHttpBody + 1, 'x'));
    response = weather::httpGet(server.baseURL() + "/", 10s);
    EXPECT_FALSE(response.transferred);
    EXPECT_TRUE(response.body.empty());

    std::string closedURL;
    {
        FixtureServer gone;
        closedURL = gone.baseURL();
    }
    response = weather::httpGet(closedURL + "/", 2s);
    EXPECT_FALSE(response.transferred);

    response = weather::httpGet("not a url at all", 2s);
    EXPECT_FALSE(response.transferred);
}
