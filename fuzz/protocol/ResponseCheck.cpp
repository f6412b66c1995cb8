#include "ResponseCheck.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "protocol/PayloadRecords.h"

namespace {

std::size_t RecordSize(int code) {
    switch (code) {
        case RES_VERSION:
        case RES_MODELNAME:
            return TEXT_RECORD_SIZE;
        case RES_MFRMODE:
        case RES_MFRMODE_2:
        case RES_QM:
            return 1;
        case RES_DEVICE_LINE:
            return sizeof(DeviceLineRecord);
        case RES_INFO1:
            return sizeof(DeviceInfo);
        case RES_INFO2:
            return INFO2_RECORD_SIZE;
        case RES_ATCM:
            return sizeof(int32_t);
        case RES_INQUIRY:
            return sizeof(InquiryResult);
        case RES_CMBDA:
        case RES_MFRBDA:
        case RES_CONNECT:
        case RES_DISCONNECT:
        case RES_TADDR:
            return sizeof(BdAddr);
        default:
            return 0;
    }
}

// Bytes from 0xC0 up stand for lines and pieces of the module's grammar, so
// that short runs from an empty corpus reach every handler's success path and
// mutate around it.
constexpr std::string_view TOKENS[] = {
    "\r\n",
    "\r\nOK\r\n",
    "\r\nERROR\r\n",
    "0011223344AA",
    "\r\n+MODELNAME,TARNEL-BT1\r\n",
    "\r\n+VER,1.2.0\r\n",
    "\r\n+INFO1,0011223344AA,Bob,1,IDLE\r\n",
    "\r\n+INFO2,1,0,0,1,1\r\n",
    "\r\n+ATCM,2\r\n",
    "\r\n+MFRMODE,1\r\n",
    "\r\n+CMBDA,0011223344AA\r\n",
    "\r\n+MFRBDA,0011223344AA\r\n",
    "\r\n+INQ,0011223344AA,5A020C,-60,Phone\r\n",
    "\r\n+CONN,0011223344AA\r\n",
    "\r\n+DISC,0011223344AA\r\n",
    "\r\n+TADDR,0011223344AA\r\n",
    "\r\n+QM,1\r\n",
    "\r\n0011223344AA,Dev,MODE2,PENDING,1,0,HWFC\r\n",
    "CONNECTING",
    "MODE3",
    "STANDBY",
    "NoFC",
    "FFFFFF",
    "0x1F00",
    "-2147483648",
    ",",
    "OK\r",
    "+ERROR\r",
    "4294967296",
    "a text longer than every text field of the records, seventy bytes long.",
    "\r\n\r\n",
    "X\r\n",
    "\r\n+MODELNAME,",
    "\r\n+VER,",
    "\r\n+INFO1,",
    "\r\n+INFO2,",
    "\r\n+ATCM,",
    "\r\n+MFRMODE,",
    "\r\n+CMBDA,",
    "\r\n+MFRBDA,",
    "\r\n+INQ,",
    "\r\n+CONN,",
    "\r\n+DISC,",
    "\r\n+TADDR,",
    "\r\n+QM,",
    "IDLE",
    "SCANNING",
    "CONNECTED",
    "MODE0",
    "PENDING",
    "CONNECT",
    "HWFC",
    "1",
    "0",
    "-60",
    "1000000",
    "0x",
    "\r",
    "\n",
    "\r\nOK",
    "00112233445",
    "aa",
    "\xED\x95\x9C",
    std::string_view("\0", 1),
};
constexpr unsigned FIRST_TOKEN = 0xC0;
static_assert(std::size(TOKENS) == 256 - FIRST_TOKEN);
constexpr std::size_t MAX_STREAM = 8192;

}  // namespace

std::vector<char> Expand(const uint8_t* data, std::size_t size) {
    std::vector<char> bytes;
    for (std::size_t i = 0; i < size && bytes.size() < MAX_STREAM; ++i) {
        if (data[i] < FIRST_TOKEN) {
            bytes.push_back(static_cast<char>(data[i]));
        } else {
            const std::string_view token = TOKENS[data[i] - FIRST_TOKEN];
            bytes.insert(bytes.end(), token.begin(), token.end());
        }
    }
    return bytes;
}

namespace {

bool Terminated(const uint8_t* text, std::size_t size) {
    return std::memchr(text, 0, size) != nullptr;
}

}  // namespace

void CheckBlock(const ResultBlock& block) {
    Check(block != nullptr);
    const int code = ResultCode(block.get());
    const uint8_t* payload = Payload(block.get());
    if (code == RES_NOT_MINE) {
        Check(std::all_of(payload, payload + PayloadLength(block.get()), [](uint8_t b) { return b == 0; }));
        return;
    }
    Check(PayloadLength(block.get()) == RecordSize(code));
    if (code == RES_VERSION || code == RES_MODELNAME) Check(Terminated(payload, TEXT_RECORD_SIZE));
    if (code == RES_INFO1) Check(Terminated(payload + offsetof(DeviceInfo, name), sizeof DeviceInfo::name));
    if (code == RES_DEVICE_LINE) {
        Check(Terminated(payload + offsetof(DeviceLineRecord, name), sizeof DeviceLineRecord::name));
    }
    if (code == RES_INQUIRY) {
        Check(Terminated(payload + offsetof(InquiryResult, name), sizeof InquiryResult::name));
        uint32_t cod = 0;
        std::memcpy(&cod, payload + offsetof(InquiryResult, classOfDevice), sizeof cod);
        Check(cod <= 0xFFFFFF);
    }
}
