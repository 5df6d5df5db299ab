// The HexColors category of UIColor: six-digit "RRGGBB" strings and colours, both ways.
// The library and the preference bundle each link their own copy of this code. The two
// operations are also class methods of UIColor in the runtime ("colorWithHexString:",
// "hexValuesFromUIColor:"), installed by registerHexColorsCategory().
#pragma once

#include "uikit/color.h"

#include <memory>
#include <optional>
#include <string>

struct HexColors {
    // Exactly six hexadecimal digits, either case, no "#": the colour with alpha 1; else nil.
    static std::shared_ptr<UIColor> colorWithHexString(const std::string& hex);
    // Six lower-case digits; "ffffff" for the shared white; nothing for nil.
    static std::optional<std::string> hexValuesFromUIColor(const std::shared_ptr<UIColor>& color);
};

// Adds the two class methods to UIColor in the runtime (once; later calls do nothing).
void registerHexColorsCategory();
