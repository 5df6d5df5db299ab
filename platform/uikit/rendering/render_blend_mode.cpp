#include "uikit/render_blend_mode.h"

#include <string_view>
#include <utility>

namespace uikit {

cairo_operator_t compositingOperator(const std::string& filter)
{
    static constexpr std::pair<std::string_view, cairo_operator_t> kFilters[] = {
        {"normalBlendMode", CAIRO_OPERATOR_OVER},
        {"sourceOver", CAIRO_OPERATOR_OVER},
        {"multiplyBlendMode", CAIRO_OPERATOR_MULTIPLY},
        {"screenBlendMode", CAIRO_OPERATOR_SCREEN},
        {"overlayBlendMode", CAIRO_OPERATOR_OVERLAY},
        {"darkenBlendMode", CAIRO_OPERATOR_DARKEN},
        {"lightenBlendMode", CAIRO_OPERATOR_LIGHTEN},
        {"colorDodgeBlendMode", CAIRO_OPERATOR_COLOR_DODGE},
        {"colorBurnBlendMode", CAIRO_OPERATOR_COLOR_BURN},
        {"softLightBlendMode", CAIRO_OPERATOR_SOFT_LIGHT},
        {"hardLightBlendMode", CAIRO_OPERATOR_HARD_LIGHT},
        {"differenceBlendMode", CAIRO_OPERATOR_DIFFERENCE},
        {"exclusionBlendMode", CAIRO_OPERATOR_EXCLUSION},
        {"hueBlendMode", CAIRO_OPERATOR_HSL_HUE},
        {"saturationBlendMode", CAIRO_OPERATOR_HSL_SATURATION},
        {"colorBlendMode", CAIRO_OPERATOR_HSL_COLOR},
        {"luminosityBlendMode", CAIRO_OPERATOR_HSL_LUMINOSITY},
        // "Plus lighter" adds the colours, which is Cairo's ADD; "plus darker" has no operator.
        {"plusL", CAIRO_OPERATOR_ADD},
    };
    for (const auto& [name, op] : kFilters)
        if (name == filter)
            return op;
    return CAIRO_OPERATOR_OVER;
}

} // namespace uikit
