#include "weather/open_meteo_parser.h"

#include "weather/condition_codes.h"
#include "weather/plausible_weather.h"

#include "foundation/property_list_text.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace weather {

namespace {

using nlohmann::json;

// Open-Meteo writes local times as "2024-05-01T14:00" (timezone=auto, iso8601).
bool isLocalTime(const json& value)
{
    if (!value.is_string())
        return false;
    const auto& text = value.get_ref<const std::string&>();
    if (text.size() < 16 || text[4] != '-' || text[7] != '-' || text[10] != 'T')
        return false;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (text[i] < '0' || text[i] > '9')
            return false;
    return isClockTime(std::string_view(text).substr(11, 5));
}

// The body with every byte that is not part of valid UTF-8 read as U+FFFD, as a browser
// decodes it: a broken character in one hour then spoils that hour's text (and the hour is
// left out) instead of making the whole answer unreadable.
std::string decodedUtf8(std::string_view body)
{
    if (foundation::detail::isValidUtf8(body))
        return std::string(body);
    std::string text;
    text.reserve(body.size());
    std::size_t i = 0;
    while (i < body.size()) {
        std::size_t width = 1;
        const auto lead = static_cast<unsigned char>(body[i]);
        if (lead >= 0xF0)
            width = 4;
        else if (lead >= 0xE0)
            width = 3;
        else if (lead >= 0xC0)
            width = 2;
        // The longest prefix of the sequence that is valid on its own, else one byte.
        for (; width > 1; --width)
            if (i + width <= body.size() && foundation::detail::isValidUtf8(body.substr(i, width)))
                break;
        if (width == 1 && lead >= 0x80)
            text += "\xEF\xBF\xBD";
        else
            text.append(body.substr(i, width));
        i += width;
    }
    return text;
}

std::string hourOf(const std::string& isoTime) { return isoTime.substr(0, 13); }
std::string clockOf(const std::string& isoTime) { return isoTime.substr(11, 5); }

std::optional<long> wholeNumber(const json& value)
{
    if (!value.is_number())
        return std::nullopt;
    const double number = value.get<double>();
    if (number != std::floor(number) || std::fabs(number) > 1e6)
        return std::nullopt;
    return static_cast<long>(number);
}

std::optional<bool> dayFlag(const json& value)
{
    if (value.is_null())
        return true;
    if (value.is_boolean())
        return value.get<bool>();
    if (auto n = wholeNumber(value))
        return *n != 0;
    return std::nullopt;
}

std::optional<long> condition(const json& code, const json& isDay)
{
    auto wmo = wholeNumber(code);
    auto day = dayFlag(isDay);
    if (!wmo || !day)
        return std::nullopt;
    if (auto mapped = conditionForWMOCode(*wmo, *day))
        return static_cast<long>(*mapped);
    return std::nullopt;
}

const json& member(const json& object, const char* key)
{
    static const json null;
    auto it = object.find(key);
    return it == object.end() ? null : *it;
}

} // namespace

std::optional<WeatherReport> parseOpenMeteoForecast(std::string_view body, std::size_t maxHours)
{
    const json root = json::parse(decodedUtf8(body), nullptr, false);
    if (root.is_discarded() || !root.is_object())
        return std::nullopt;
    if (const json& error = member(root, "error"); error.is_boolean() && error.get<bool>())
        return std::nullopt;

    const json& current = member(root, "current");
    if (!current.is_object())
        return std::nullopt;
    const json& currentTime = member(current, "time");
    const json& currentTemperature = member(current, "temperature_2m");
    if (!isLocalTime(currentTime) || !currentTemperature.is_number() ||
        !isPlausibleTemperature(currentTemperature.get<double>()))
        return std::nullopt;
    auto currentCondition = condition(member(current, "weather_code"), member(current, "is_day"));
    if (!currentCondition)
        return std::nullopt;

    WeatherReport report;
    report.temperatureCelsius = currentTemperature.get<double>();
    report.conditionCode = *currentCondition;

    const json& hourly = member(root, "hourly");
    if (!hourly.is_object())
        return std::nullopt;
    const json& times = member(hourly, "time");
    const json& temperatures = member(hourly, "temperature_2m");
    const json& codes = member(hourly, "weather_code");
    const json& days = member(hourly, "is_day");
    if (!times.is_array() || !temperatures.is_array() || !codes.is_array())
        return std::nullopt;
    const std::size_t count = times.size();
    if (temperatures.size() != count || codes.size() != count || (!days.is_null() && (!days.is_array() || days.size() != count)))
        return std::nullopt;

    const std::string currentHour = hourOf(currentTime.get<std::string>());
    for (std::size_t i = 0; i < count && report.hours.size() < maxHours; ++i) {
        // An hour without a real time or with an impossible temperature is left out.
        if (!isLocalTime(times[i]))
            continue;
        const std::string& time = times[i].get_ref<const std::string&>();
        if (hourOf(time) < currentHour)
            continue;
        if (temperatures[i].is_null() || codes[i].is_null())
            continue;
        if (!temperatures[i].is_number())
            return std::nullopt;
        if (!isPlausibleTemperature(temperatures[i].get<double>()))
            continue;
        auto hourCondition = condition(codes[i], days.is_array() ? days[i] : json());
        if (!hourCondition)
            return std::nullopt;
        report.hours.push_back({clockOf(time), temperatures[i].get<double>(), *hourCondition});
    }
    if (report.hours.empty())
        return std::nullopt;
    return report;
}

} // namespace weather
