// Layer compositing filters by name, as Cairo operators.
#pragma once

#include <cairo.h>
#include <string>

namespace uikit {

// The operator that composites a layer with the named filter over what lies below it:
// "multiplyBlendMode" multiplies, "screenBlendMode" screens, "plusL" adds, and so on for every
// blend mode Cairo has. An empty name, an unknown one, and filters without a Cairo equivalent
// ("plusD") composite normally (CAIRO_OPERATOR_OVER).
cairo_operator_t compositingOperator(const std::string& filter);

} // namespace uikit
