// The contact sheet: every snapshot of a run on one picture, in order, each with its number and
// caption underneath.
#pragma once

#include "sim/device.h"

#include <string>
#include <vector>

namespace sim {

// Writes the sheet as a PNG; false when there is nothing to show or it cannot be written.
bool writeContactSheet(const std::vector<Shot>& shots, const std::string& path);

} // namespace sim
