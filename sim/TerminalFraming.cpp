#include "sim/TerminalFraming.h"

#include <array>
#include <utility>

namespace tarnel::sim {

namespace {

constexpr std::array<std::pair<speed_t, uint32_t>, 26> kSpeeds = {{
    {B50, 50},           {B75, 75},         {B110, 110},         {B134, 134},         {B150, 150},
    {B200, 200},         {B300, 300},       {B600, 600},         {B1200, 1200},       {B1800, 1800},
    {B2400, 2400},       {B4800, 4800},     {B9600, 9600},       {B19200, 19200},     {B38400, 38400},
    {B57600, 57600},     {B115200, 115200}, {B230400, 230400},   {B460800, 460800},   {B500000, 500000},
    {B576000, 576000},   {B921600, 921600}, {B1000000, 1000000}, {B1500000, 1500000}, {B2000000, 2000000},
    {B3000000, 3000000},
}};

}  // namespace

LineSettings FramingOf(const termios& tio) {
    LineSettings line;
    line.baud = 0;
    const speed_t speed = cfgetospeed(&tio);
    for (const auto& [code, baud] : kSpeeds) {
        if (code == speed) line.baud = baud;
    }
    const bool checked = (tio.c_iflag & INPCK) != 0 && (tio.c_iflag & IGNPAR) == 0;
    const bool parity = (tio.c_cflag & PARENB) != 0 || checked;
    line.parity = ParityLetter(!parity                       ? PARITY_NONE
                               : (tio.c_cflag & PARODD) != 0 ? PARITY_ODD
                                                             : PARITY_EVEN);
    line.stopBits = StopBitCount((tio.c_cflag & CSTOPB) != 0 ? STOP_BITS_TWO : STOP_BITS_ONE);
    return line;
}

void SetFraming(termios& tio, const LineSettings& line) {
    for (const auto& [code, baud] : kSpeeds) {
        if (baud == line.baud) cfsetspeed(&tio, code);
    }
    tio.c_cflag &= ~(PARENB | PARODD | CSTOPB);
    const uint8_t parity = ParityFromLetter(line.parity);
    if (parity == PARITY_NONE) {
        tio.c_iflag |= IGNPAR;
        tio.c_iflag &= ~INPCK;
    } else {
        tio.c_iflag &= ~(IGNPAR | PARMRK);
        tio.c_iflag |= INPCK;
        tio.c_cflag |= PARENB;
        if (parity == PARITY_ODD) tio.c_cflag |= PARODD;
    }
    if (StopBitsFromCount(line.stopBits) == STOP_BITS_TWO) tio.c_cflag |= CSTOPB;
}

}  // namespace tarnel::sim
