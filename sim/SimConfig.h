#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sim/BdAddress.h"
#include "sim/ModuleState.h"
#include "sim/UartSettings.h"

namespace tarnel::sim {

using Duration = std::chrono::milliseconds;

// The settings a host can write. Name, UART and operation mode take effect at
// the next reset ("ATZ\r"); quiet mode and the target at once.
struct ModuleSettings {
    std::string name = "Tarnel";  // UTF-8, 1 to 32 bytes
    UartSettings uart;            // 9600 8N1, no flow control
    uint8_t opMode = 0;           // 0 to 3
    bool quietMode = false;       // true: OK, ERROR, +CONN and +DISC are not sent
    BdAddress target{};           // all zero: no target

    bool operator==(const ModuleSettings&) const = default;
};

// A device that answers an inquiry, reported `reportAfter` after it started.
struct NearbyDevice {
    BdAddress address{};
    std::string name;  // UTF-8
    int rssi = -60;
    uint32_t classOfDevice = 0;  // at most 0xFFFFFF
    Duration reportAfter{2000};
};

// The devices of the demonstration: three devices, one with a Korean name,
// reported from 200 ms into an inquiry on, as a module reports what it hears.
std::vector<NearbyDevice> DemoDevices();

// Everything that shapes one simulated module. A default-constructed config is
// an idle module at 9600 8N1 in operation mode 0 with responses on and the
// demonstration devices nearby; tests change what they need.
struct SimConfig {
    // Identity, fixed for the module's life.
    BdAddress address{0x00, 0x1A, 0x7D, 0xDA, 0x71, 0x13};
    std::string modelName = "TARNEL-BT1";
    std::string version = "1.2.0";

    ModuleSettings settings;  // in effect (and written) at start
    ModuleSettings factory;   // restored by "AT&F\r"

    ModuleState state = ModuleState::Idle;
    BdAddress peer{0x00, 0x02, 0x5B, 0x00, 0xA5, 0xA5};  // the far end while connecting or connected

    std::vector<NearbyDevice> devices = DemoDevices();
    // An inquiry ends with OK this long after it started, or after the time
    // its command asks for when that is shorter. Devices due later are not
    // reported.
    Duration inquiryTime{5000};

    // Delay between a command's CR and the first byte of its answer.
    Duration replyDelay{0};
    // Per command (named as for silentCommands below), a delay that replaces replyDelay, for
    // example one past the host's time limit.
    std::map<std::string, Duration> commandDelays;
    // The transmitter stays quiet at least this long between two lines.
    Duration lineGap{0};
    // Pause between a query's data line and its OK.
    Duration okDelay{0};
    // "AT+INQ" is answered with OK at once, before the first report.
    bool inquiryOk = false;
    // Delay of the +DISC report after the OK of "AT+DISC\r".
    Duration discReportDelay{0};
    // Query commands send OK after their data line, as a module does.
    bool okAfterData = true;
    // Output leaves at the UART's byte rate instead of all at once.
    bool paceOutput = false;

    // Commands picked by their name: the command line up to (not including)
    // "=", in upper case, for example "AT", "ATZ", "+++", "AT+VER?",
    // "AT+QM?", "AT+QM", "AT+INQ". Such a command has no effect and gets:
    std::set<std::string> silentCommands;               // no answer at all
    std::set<std::string> errorCommands;                // an ERROR line
    std::map<std::string, std::string> replyOverrides;  // exactly these bytes (malformed lines)

    // The module hangs up as this many bytes have arrived (the last one is
    // not acted on): the pseudo-terminal runner closes its side as if the
    // cable were pulled. 0: never.
    uint64_t hangUpAfterBytes = 0;
};

}  // namespace tarnel::sim
