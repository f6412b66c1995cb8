#include "ctl/PlatformHelp.h"

namespace tarnel::ctl {

const char* const EXAMPLE_PORT = "/dev/ttyUSB0";
const char* const PORTS_HELP =
    "Lists the serial ports as the COM port dialog does; for USB adapters also\n"
    "the USB id, vendor, product, serial number and the stable\n"
    "/dev/serial/by-id/ name, so that two adapters can be told apart.";
const char* const OPEN_FAILED_HELP =
    "  3   the port could not be opened (missing, busy, permission denied: the\n"
    "      message names the group to join), or it went away while in use; a\n"
    "      port another program holds (its lock, exclusive mode or UUCP lock\n"
    "      file), the system console and a stale virtual port link are refused\n"
    "      before anything is sent";
const char* const TERMINATED_HELP = "  143 terminated (SIGTERM), which ends a command as Ctrl+C does\n";

}  // namespace tarnel::ctl
