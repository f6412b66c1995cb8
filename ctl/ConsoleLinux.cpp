#include "ctl/Console.h"

#include <unistd.h>

namespace tarnel::ctl {

Console SetUpConsole(int argc, char** argv) {
    return {std::vector<std::string>(argv + 1, argv + argc), isatty(STDIN_FILENO) != 0,
            isatty(STDERR_FILENO) != 0};
}

}  // namespace tarnel::ctl
