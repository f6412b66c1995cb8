#include "ctl/PlatformHelp.h"

namespace tarnel::ctl {

const char* const EXAMPLE_PORT = "COM3";
const char* const PORTS_HELP =
    "Lists the serial ports as the COM port dialog does, in the order of the\n"
    "system's serial device table; for USB adapters also the USB id, the\n"
    "driver's vendor, the product and the serial number, so that two\n"
    "adapters can be told apart.";
const char* const OPEN_FAILED_HELP =
    "  3   the port could not be opened (missing, or held by another program),\n"
    "      or it went away while in use";
const char* const TERMINATED_HELP = "";

}  // namespace tarnel::ctl
