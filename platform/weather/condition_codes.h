// The weather framework's condition codes (0 to 47) and how Open-Meteo's WMO weather codes map
// onto them.
//
//   WMO code (Open-Meteo weather_code)          condition code
//   0  clear sky                                32 sunny by day, 31 clear at night
//   1  mainly clear                             34 fair by day, 33 fair at night
//   2  partly cloudy                            30 partly cloudy by day, 29 at night
//   3  overcast                                 26 cloudy
//   45 fog, 48 depositing rime fog              20 foggy
//   51, 53, 55 drizzle                          9 drizzle
//   56, 57 freezing drizzle                     8 freezing drizzle
//   61, 63, 65 rain                             12 rain
//   66, 67 freezing rain                        10 freezing rain
//   71 slight snow fall                         13 snow flurries
//   73 moderate snow fall, 77 snow grains       16 snow
//   75 heavy snow fall                          41 heavy snow
//   80 slight rain showers                      40 scattered showers
//   81, 82 moderate and violent rain showers    11 showers
//   85 slight snow showers                      42 scattered snow showers
//   86 heavy snow showers                       46 snow showers
//   95 thunderstorm                             4 thunderstorms
//   96 thunderstorm with slight hail            45 thundershowers
//   99 thunderstorm with heavy hail             3 severe thunderstorms
//
// Any other WMO code is not a code Open-Meteo sends: the answer carrying it is treated as
// malformed.
#pragma once

#include <optional>
#include <string_view>

namespace weather {

enum ConditionCode : long {
    kTornado = 0,
    kTropicalStorm = 1,
    kHurricane = 2,
    kSevereThunderstorms = 3,
    kThunderstorms = 4,
    kRainAndSnow = 5,
    kRainAndSleet = 6,
    kSnowAndSleet = 7,
    kFreezingDrizzle = 8,
    kDrizzle = 9,
    kFreezingRain = 10,
    kShowers = 11,
    kRain = 12,
    kSnowFlurries = 13,
    kLightSnowShowers = 14,
    kBlowingSnow = 15,
    kSnow = 16,
    kHail = 17,
    kSleet = 18,
    kDust = 19,
    kFoggy = 20,
    kHaze = 21,
    kSmoky = 22,
    kBlustery = 23,
    kWindy = 24,
    kCold = 25,
    kCloudy = 26,
    kMostlyCloudyNight = 27,
    kMostlyCloudyDay = 28,
    kPartlyCloudyNight = 29,
    kPartlyCloudyDay = 30,
    kClearNight = 31,
    kSunny = 32,
    kFairNight = 33,
    kFairDay = 34,
    kRainAndHail = 35,
    kHot = 36,
    kIsolatedThunderstorms = 37,
    kScatteredThunderstorms = 38,
    kScatteredThunderstormsLate = 39,
    kScatteredShowers = 40,
    kHeavySnow = 41,
    kScatteredSnowShowers = 42,
    kHeavySnowWindy = 43,
    kPartlyCloudy = 44,
    kThundershowers = 45,
    kSnowShowers = 46,
    kIsolatedThundershowers = 47,
};

inline constexpr long kFirstConditionCode = 0;
inline constexpr long kLastConditionCode = 47;

inline bool isConditionCode(long code) { return code >= kFirstConditionCode && code <= kLastConditionCode; }

// The condition for a WMO weather code, by day or at night; nothing for a code outside the table.
std::optional<ConditionCode> conditionForWMOCode(long wmoCode, bool isDay);

// A short English name for logs and descriptions ("sunny", "snow showers"); "not available"
// outside 0 to 47.
std::string_view conditionName(long code);

} // namespace weather
