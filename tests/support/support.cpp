#include "support/support.h"

#include <cstdlib>

namespace testsupport {

std::string buildDir()
{
    // The environment may point at another build; by default, the one these tests come from.
    const char* dir = std::getenv("VANTOREL_BUILD_DIR");
    return dir ? dir : VANTOREL_BUILD_FOLDER;
}

std::string builtLibrary(const std::string& fileName) { return buildDir() + "/lib/" + fileName; }

} // namespace testsupport
