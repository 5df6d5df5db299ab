// The library initialiser: runs when the substrate loader opens the library in the host.
#include "tweak/core/startup.h"

namespace {
[[gnu::constructor]] void vantorelInitializer() { vantorel::startUp(); }
} // namespace
