#pragma once

// The module's command set: every command string with its command code and
// time limit, in one place. Commands with arguments hold their printf format
// in `text`; build the bytes with the matching ...Command function and send
// them under the same entry (TarnelComm::SendCommand(text, entry)).

#include <string>

#include "protocol/BdAddr.h"

struct AtCommand {
    const char* text;  // the command, or its format when it takes arguments
    int code;          // selects the response handlers (the response table)
    unsigned timeoutMs;
};

inline constexpr AtCommand CMD_AT{"AT\r", 2, 1200};
inline constexpr AtCommand CMD_RESET{"ATZ\r", 3, 500};
inline constexpr AtCommand CMD_FACTORY_RESET{"AT&F\r", 4, 3000};
inline constexpr AtCommand CMD_MODELNAME{"AT+MODELNAME?\r", 6, 1200};
inline constexpr AtCommand CMD_INFO1{"AT+INFO1?\r", 8, 1200};
inline constexpr AtCommand CMD_INFO2{"AT+INFO2?\r", 9, 1200};
// Sent with OPCANCEL_CONNECTING_TIMEOUT_MS instead when the module is connecting.
inline constexpr AtCommand CMD_OPCANCEL{"AT+OPCANCEL\r", 14, 1200};
inline constexpr unsigned OPCANCEL_CONNECTING_TIMEOUT_MS = 5000;
inline constexpr AtCommand CMD_VERSION{"AT+VER?\r", 20, 1200};
// Ends early only on ERROR; a started inquiry ends the command with RES_TIMEOUT.
inline constexpr AtCommand CMD_INQUIRY{"AT+INQ=%u,%u\r", 21, 1200};
inline constexpr AtCommand CMD_SCAN{"AT+SCAN=%u,%u\r", 23, 1200};
inline constexpr AtCommand CMD_TADDR_QUERY{"AT+TADDR?\r", 25, 1200};
inline constexpr AtCommand CMD_TADDR_SET{"AT+TADDR=%s\r", 26, 1200};
inline constexpr AtCommand CMD_QM_QUERY{"AT+QM?\r", 27, 1200};
inline constexpr AtCommand CMD_QM_SET{"AT+QM=%u\r", 28, 1200};
inline constexpr AtCommand CMD_NAME{"AT+NAME=%s\r", 29, 1200};
inline constexpr AtCommand CMD_UART{"AT+UART=%u,%c,%u,%u\r", 30, 1200};
inline constexpr AtCommand CMD_OPMODE{"AT+OPMODE=%u\r", 32, 1200};
// The escape to command mode; shares the operation-mode command's code.
inline constexpr AtCommand CMD_ESCAPE{"+++\r", 32, 1200};
inline constexpr AtCommand CMD_DISCONNECT{"AT+DISC\r", 36, 1200};

// The command codes of the three poll steps.
inline constexpr int POLL_INQUIRY_CODE = 22;
inline constexpr int POLL_CONNECTION_CODE = 24;
inline constexpr int POLL_DISCONNECT_CODE = 37;

// Codes the response table registers although this program sends nothing
// under them: all that is known of them is which lines end them.
inline constexpr int CODE_DEVICE_LINE = 7;
inline constexpr int CODE_MFRMODE = 10;
inline constexpr int CODE_MFRMODE_2 = 11;
inline constexpr int CODE_ATCM = 12;
inline constexpr int CODE_CMBDA = 16;
inline constexpr int CODE_MFRBDA = 18;
inline constexpr int CODE_CONNECT = 35;
// These end on OK or ERROR alone.
inline constexpr int CODES_ACKNOWLEDGED[] = {13, 15, 17, 19, 33, 34};

// The system's inquiry arguments: 60 and 1.
inline constexpr unsigned INQUIRY_DURATION = 60;
inline constexpr unsigned INQUIRY_ARGUMENT = 1;
inline constexpr unsigned SCAN_MODE = 3;
// Longest device name the module takes, in bytes.
inline constexpr std::size_t MAX_DEVICE_NAME = 32;

// The formatted commands. Each must fit the module's 128-byte command
// buffer, at most 127 bytes with its CR; a longer one comes back empty, which
// SendCommand refuses.
std::string InquiryCommand(unsigned duration, unsigned argument);
std::string ScanCommand(unsigned mode, unsigned seconds);
std::string TargetAddrCommand(const BdAddr& target);
std::string QuietModeCommand(unsigned mode);
std::string NameCommand(const std::string& name);
// parity: 'N', 'E' or 'O'; stopBits: 1 or 2; flow: 0 none, 1 hardware.
std::string UartCommand(unsigned baud, char parity, unsigned stopBits, unsigned flow);
std::string OpModeCommand(unsigned mode);
