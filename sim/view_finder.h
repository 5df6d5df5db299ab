// Named places of the lock screen for taps ("tap notifications", "tap hub:2"), found in the
// host's list of visible views (its "views" command) rather than at fixed points, so that a
// scenario keeps working when the arrangement changes.
//
//   widgets, notifications   the dashboard's two 32-point icons (left, right)
//   hub:<n>                  the n-th icon of the apps hub from the left
//   greeting, weather        the greeting line and the weather sentence
//   table                    the notification list
//   widget-area              the open widget (or the widget chooser)
//   tile:<name>              the widget chooser's tile of that plug-in
#pragma once

#include "sim/scenario.h"

#include <optional>
#include <string>

namespace sim {

// `views` is the host's answer to "views". The centre of the named view in screen points, or
// nullopt when it is not on the screen.
std::optional<ScreenPoint> findView(const std::string& views, const std::string& name);

} // namespace sim
