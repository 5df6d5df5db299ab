// The library initialiser: runs when the substrate loader opens the library in the host. The
// build links this file last, so every other static object of the library is ready by then.
#include "tweak/core/startup.h"

namespace {
[[gnu::constructor]] void vantorelInitializer() { vantorel::startUp(); }
} // namespace
