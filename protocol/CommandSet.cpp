#include "protocol/CommandSet.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr std::size_t COMMAND_BUFFER_SIZE = 128;

std::string Format(const char* format, ...) {
    char buf[COMMAND_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    // A cut command would lose its closing CR and run into the next one.
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof buf) return {};
    return std::string(buf, static_cast<std::size_t>(n));
}

}  // namespace

std::string InquiryCommand(unsigned duration, unsigned argument) {
    return Format(CMD_INQUIRY.text, duration, argument);
}

std::string ScanCommand(unsigned mode, unsigned seconds) {
    return Format(CMD_SCAN.text, mode, seconds);
}

std::string TargetAddrCommand(const BdAddr& target) {
    std::string text;
    FormatBdAddr(target, text);
    return Format(CMD_TADDR_SET.text, text.c_str());
}

std::string QuietModeCommand(unsigned mode) {
    return Format(CMD_QM_SET.text, mode);
}

std::string NameCommand(const std::string& name) {
    return Format(CMD_NAME.text, name.c_str());
}

std::string UartCommand(unsigned baud, char parity, unsigned stopBits, unsigned flow) {
    return Format(CMD_UART.text, baud, parity, stopBits, flow);
}

std::string OpModeCommand(unsigned mode) {
    return Format(CMD_OPMODE.text, mode);
}
