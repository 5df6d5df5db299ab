#include "sim/weather_answers.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <cmath>

namespace sim {

const std::vector<ConditionWord>& conditionWords()
{
    static const std::vector<ConditionWord> words{
        {"sunny", 0},   {"clear", 0},     {"fair", 1},  {"partly-cloudy", 2}, {"cloudy", 3},
        {"fog", 45},    {"drizzle", 53},  {"rain", 63}, {"snow", 73},         {"showers", 81},
        {"thunderstorm", 95},
    };
    return words;
}

std::optional<int> serviceCodeForWord(const std::string& word)
{
    for (const auto& entry : conditionWords())
        if (word == entry.word)
            return entry.serviceCode;
    return std::nullopt;
}

WeatherAnswers::WeatherAnswers() : server_(std::make_unique<httplib::Server>()), start_(std::time(nullptr))
{
    server_->Get("/v1/forecast", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(answer(), "application/json");
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
}

WeatherAnswers::~WeatherAnswers()
{
    server_->stop();
    if (thread_.joinable())
        thread_.join();
}

std::string WeatherAnswers::baseURL() const { return "http://127.0.0.1:" + std::to_string(port_); }

void WeatherAnswers::setCurrent(double celsius, int serviceCode, std::time_t start)
{
    std::lock_guard guard(lock_);
    celsius_ = celsius;
    code_ = serviceCode;
    start_ = start;
}

std::string WeatherAnswers::answer() const
{
    std::lock_guard guard(lock_);
    auto stamp = [](std::time_t when) {
        std::tm parts{};
        ::localtime_r(&when, &parts);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M", &parts);
        return std::string(text);
    };
    auto isDay = [](std::time_t when) {
        std::tm parts{};
        ::localtime_r(&when, &parts);
        return parts.tm_hour >= 7 && parts.tm_hour < 19 ? 1 : 0;
    };
    nlohmann::json hourly{{"time", nlohmann::json::array()},
                          {"temperature_2m", nlohmann::json::array()},
                          {"weather_code", nlohmann::json::array()},
                          {"is_day", nlohmann::json::array()}};
    const std::time_t hour = start_ - start_ % 3600;
    for (int i = 0; i < 12; ++i) {
        const std::time_t when = hour + i * 3600;
        hourly["time"].push_back(stamp(when));
        hourly["temperature_2m"].push_back(std::round((celsius_ + 2.0 * std::sin(i / 2.0)) * 10) / 10);
        hourly["weather_code"].push_back(code_);
        hourly["is_day"].push_back(isDay(when));
    }
    nlohmann::json root{
        {"latitude", 0},
        {"longitude", 0},
        {"current", {{"time", stamp(start_)}, {"temperature_2m", celsius_}, {"weather_code", code_}, {"is_day", isDay(start_)}}},
        {"hourly", hourly},
    };
    return root.dump();
}

} // namespace sim
