// How a blur backdrop view asks to be drawn, read from its settings.
#pragma once

#include "uikit/color.h"
#include "uikit/geometry.h"

#include <optional>

class UIView;

namespace uikit {

struct BackdropLook {
    CGFloat blurRadius = 0; // in points; 0 leaves what lies behind unblurred
    CGColor tint{0, 0, 0, 0};
    double tintAlpha = 0;
};

// The look of a blur backdrop view; nothing for any other view. Radii that are negative or not
// finite count as 0, and tint opacities are kept within 0 ... 1.
std::optional<BackdropLook> backdropLook(const UIView& view);

} // namespace uikit
