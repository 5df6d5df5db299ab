// A library for the substrate loader's tests, built once per name (TWEAK_NAME): loading it
// registers the class TWEAK_NAME and appends the process id to the device file
// "/var/tmp/<TWEAK_NAME>.log", so a test can see in which processes it started.
#include "foundation/device_path.h"
#include "objc/objc.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

class TWEAK_NAME : public objc::Object {
    OBJC_CLASS(TWEAK_NAME, objc::Object)
};

#define VANTOREL_TEXT(x) #x
#define VANTOREL_NAME(x) VANTOREL_TEXT(x)

OBJC_REGISTER_NAMED(TWEAK_NAME, VANTOREL_NAME(TWEAK_NAME))

namespace {

__attribute__((constructor)) void tweakStarted()
{
    const std::filesystem::path log = foundation::hostPath("/var/tmp/" VANTOREL_NAME(TWEAK_NAME) ".log");
    std::error_code ignored;
    std::filesystem::create_directories(log.parent_path(), ignored);
    std::ofstream(log, std::ios::app) << ::getpid() << "\n";
}

} // namespace
