#include "weather/condition_codes.h"

#include <array>

namespace weather {

std::optional<ConditionCode> conditionForWMOCode(long wmoCode, bool isDay)
{
    switch (wmoCode) {
    case 0: return isDay ? kSunny : kClearNight;
    case 1: return isDay ? kFairDay : kFairNight;
    case 2: return isDay ? kPartlyCloudyDay : kPartlyCloudyNight;
    case 3: return kCloudy;
    case 45:
    case 48: return kFoggy;
    case 51:
    case 53:
    case 55: return kDrizzle;
    case 56:
    case 57: return kFreezingDrizzle;
    case 61:
    case 63:
    case 65: return kRain;
    case 66:
    case 67: return kFreezingRain;
    case 71: return kSnowFlurries;
    case 73:
    case 77: return kSnow;
    case 75: return kHeavySnow;
    case 80: return kScatteredShowers;
    case 81:
    case 82: return kShowers;
    case 85: return kScatteredSnowShowers;
    case 86: return kSnowShowers;
    case 95: return kThunderstorms;
    case 96: return kThundershowers;
    case 99: return kSevereThunderstorms;
    default: return std::nullopt;
    }
}

std::string_view conditionName(long code)
{
    static constexpr std::array<std::string_view, 48> names{
        "tornado", "tropical storm", "hurricane", "severe thunderstorms", "thunderstorms",
        "mixed rain and snow", "mixed rain and sleet", "mixed snow and sleet", "freezing drizzle",
        "drizzle", "freezing rain", "showers", "rain", "snow flurries", "light snow showers",
        "blowing snow", "snow", "hail", "sleet", "dust", "foggy", "haze", "smoky", "blustery",
        "windy", "cold", "cloudy", "mostly cloudy (night)", "mostly cloudy (day)",
        "partly cloudy (night)", "partly cloudy (day)", "clear (night)", "sunny", "fair (night)",
        "fair (day)", "mixed rain and hail", "hot", "isolated thunderstorms",
        "scattered thunderstorms", "scattered thunderstorms", "scattered showers", "heavy snow",
        "scattered snow showers", "heavy snow", "partly cloudy", "thundershowers", "snow showers",
        "isolated thundershowers",
    };
    return isConditionCode(code) ? names[static_cast<std::size_t>(code)] : "not available";
}

} // namespace weather
