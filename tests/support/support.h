// Shared helpers for the test suite.
#pragma once

#include <string>

namespace testsupport {

// The build directory (where built shared objects and the staged device root live).
std::string buildDir();
// A path of a built shared object by its file name, e.g. "libobjc_test_plugin.so".
std::string builtLibrary(const std::string& fileName);

} // namespace testsupport
