#include "ctl/PlatformHelp.h"

namespace tarnel::ctl {

const char* const EXAMPLE_PORT = "COM3";
const char* const PORTS_HELP =
    "      Lists the serial ports as the COM port dialog does: the names in the\n"
    "      system's serial device table, in its order.";
const char* const OPEN_FAILED_HELP =
    "  3   the port could not be opened (missing, or held by another program)";

}  // namespace tarnel::ctl
