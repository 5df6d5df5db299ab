// How the weather framework writes temperatures: the city's temperature as a number text, and an
// hour's temperature as the user sees it.
#pragma once

#include <string>

namespace weather {

// Degrees Celsius to tenths, without trailing zeros: "21.5", "-3", "0" (never "-0").
std::string temperatureText(double celsius);

// Whole degrees in the user's unit with a degree sign and no unit letter: "22°"; in Fahrenheit
// the Celsius value is converted first. Halves round away from zero.
std::string temperatureDetail(double celsius, bool inCelsius);

} // namespace weather
