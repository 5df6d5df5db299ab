#include "uikit/render_backdrop.h"

#include "uikit/backdrop_view.h"

#include <algorithm>
#include <cmath>

namespace uikit {

std::optional<BackdropLook> backdropLook(const UIView& view)
{
    const auto* backdrop = dynamic_cast<const _UIBackdropView*>(&view);
    if (!backdrop)
        return std::nullopt;
    BackdropLook look;
    const double radius = backdrop->blurRadius();
    look.blurRadius = std::isfinite(radius) && radius > 0 ? radius : 0;
    if (const auto& settings = backdrop->inputSettings()) {
        if (const auto& tint = settings->colorTint())
            look.tint = {tint->red(), tint->green(), tint->blue(), tint->alpha()};
        const double alpha = settings->colorTintAlpha();
        look.tintAlpha = std::isfinite(alpha) ? std::clamp(alpha, 0.0, 1.0) : 0.0;
    }
    return look;
}

} // namespace uikit
