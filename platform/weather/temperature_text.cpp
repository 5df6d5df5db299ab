#include "weather/temperature_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace weather {

std::string temperatureText(double celsius)
{
    if (!std::isfinite(celsius))
        return "0";
    // Past 1e15 a double has no tenths to round away (and ten times it could overflow).
    double tenths = std::fabs(celsius) < 1e15 ? std::round(celsius * 10) / 10 : celsius;
    if (tenths == 0)
        tenths = 0; // drops the sign of -0
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, tenths);
    return error == std::errc() ? std::string(text, end) : "0";
}

std::string temperatureDetail(double celsius, bool inCelsius)
{
    if (!std::isfinite(celsius))
        celsius = 0;
    // Rounded within the range of long: rounding a value outside it is undefined.
    const double shown = std::clamp(inCelsius ? celsius : celsius * 9 / 5 + 32, -9.2e18, 9.2e18);
    return std::to_string(std::lround(shown)) + "\u00B0";
}

} // namespace weather
