#include "support/support.h"

#include <cstdlib>

namespace testsupport {

std::string buildDir()
{
    const char* dir = std::getenv("VANTOREL_BUILD_DIR");
    return dir ? dir : ".";
}

std::string builtLibrary(const std::string& fileName) { return buildDir() + "/lib/" + fileName; }

} // namespace testsupport
