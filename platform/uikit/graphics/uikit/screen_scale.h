// The main screen's scale (pixels per point), used wherever a scale of 0 means "the screen's".
#pragma once

#include "uikit/geometry.h"

// The simulated phone has a 2× screen.
inline constexpr CGFloat kUIMainScreenScale = 2.0;
inline CGFloat UIMainScreenScale() { return kUIMainScreenScale; }
