// The condition pictures: white shapes on a transparent 30 × 30 point canvas, one scene per
// condition code (sun, moon, clouds, rain, snow, sleet, hail, thunder, fog, wind, dust, smoke,
// haze, funnel, storm spiral, thermometer) and a crossed-out circle for "not available".
#pragma once

#include <cairo.h>

namespace weather {

inline constexpr double kConditionPictureSize = 30; // points, square

// Draws the scene of a condition code 0 to 47 into a context measured in points; any other code
// draws the not-available picture.
void drawConditionPicture(cairo_t* cr, long code);
void drawNotAvailablePicture(cairo_t* cr);

} // namespace weather
