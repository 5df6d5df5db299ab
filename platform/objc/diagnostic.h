// Programming errors the runtime refuses to hide: it prints what went wrong and stops.
#pragma once

#include <string>

namespace objc {

[[noreturn]] void fatal(const std::string& message);

} // namespace objc
