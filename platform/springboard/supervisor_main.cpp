// springboard-supervisor: starts the host program and starts it again whenever it relaunches
// (supervisor.h). Usage: springboard-supervisor [program [arguments...]]; without a program it
// runs the "springboard" beside itself. Ends with the host's last exit status.
#include "springboard/supervisor.h"

#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        std::error_code error;
        const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
        arguments.push_back(((error ? std::filesystem::path(argv[0]) : self).parent_path() / "springboard").string());
    }
    return springboard::superviseHost(arguments).exitStatus;
}
