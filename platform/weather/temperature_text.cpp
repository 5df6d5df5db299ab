#include "weather/temperature_text.h"

#include <charconv>
#include <cmath>

namespace weather {

std::string temperatureText(double celsius)
{
    if (!std::isfinite(celsius))
        return "0";
    double tenths = std::round(celsius * 10) / 10;
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
    const double shown = inCelsius ? celsius : celsius * 9 / 5 + 32;
    return std::to_string(std::lround(shown)) + "\u00B0";
}

} // namespace weather
