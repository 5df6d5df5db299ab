#include "weather/open_meteo_service.h"

#include "foundation/runloop.h"
#include "weather/http_fetch.h"
#include "weather/open_meteo_parser.h"

#include <charconv>
#include <thread>

namespace weather {

namespace {

// Fixed notation with a point whatever the process's locale.
std::string decimal(double value)
{
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    return error == std::errc() ? std::string(text, end) : "0";
}

} // namespace

OpenMeteoWeatherService::OpenMeteoWeatherService(std::string baseURL, std::chrono::milliseconds timeout)
    : baseURL_(std::move(baseURL)), timeout_(timeout)
{
    while (!baseURL_.empty() && baseURL_.back() == '/')
        baseURL_.pop_back();
}

std::string OpenMeteoWeatherService::forecastURL(WeatherCoordinates where) const
{
    return baseURL_ + "/v1/forecast?latitude=" + decimal(where.latitude) + "&longitude=" + decimal(where.longitude) +
           "&current=" + std::string(kOpenMeteoCurrentFields) + "&hourly=" + std::string(kOpenMeteoHourlyFields) +
           "&forecast_hours=" + std::to_string(kForecastHours) + "&timezone=auto";
}

void OpenMeteoWeatherService::fetchWeather(WeatherCoordinates where, WeatherCompletion completion)
{
    // The thread owns everything it uses, so it may outlive this service and its updater.
    std::thread([url = forecastURL(where), timeout = timeout_, completion = std::move(completion)]() mutable {
        HttpResponse response = httpGet(url, timeout);
        std::optional<WeatherReport> report;
        if (response.ok())
            report = parseOpenMeteoForecast(response.body, kForecastHours);
        foundation::performOnMainThread(
            [completion = std::move(completion), report = std::move(report)]() mutable { completion(std::move(report)); });
    }).detach();
}

} // namespace weather
