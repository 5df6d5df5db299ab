#include "foundation/loader.h"

#include "foundation/confined_path.h"

#include <dlfcn.h>
#include <string>

namespace foundation {

void* dlopen(const char* devicePath, int mode)
{
    const std::string host = devicePath ? confinedHostPath(devicePath) : std::string();
    if (host.empty())
        return nullptr;
    void* handle = ::dlopen(host.c_str(), mode);
    if (!handle)
        ::dlerror(); // failures are silent: leave no error behind for an unrelated dlerror()
    return handle;
}

} // namespace foundation
