// A widget plug-in that notes each process that loads it, one process id a line, in
// "/var/marker.log" of the device: the library loads the selected plug-in whenever it loads its
// settings, so the file shows when a running host took up a change.
#include "foundation/device_path.h"
#include "uikit/view.h"

#include <fstream>
#include <unistd.h>

class MarkerWidgetView : public UIView {
    OBJC_CLASS(MarkerWidgetView, UIView)
};

OBJC_REGISTER(MarkerWidgetView)

namespace {
[[maybe_unused]] const bool noted = [] {
    std::ofstream(foundation::hostPath("/var/marker.log"), std::ios::app) << ::getpid() << "\n";
    return true;
}();
} // namespace
