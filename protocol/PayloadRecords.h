#pragma once

// The byte-exact payload records of the data lines (see ResultBlock.h for
// which result code carries which). Copy them out of a block with
// CopyPayload; text fields are NUL-terminated bytes as the module sent them.

#include <cstddef>
#include <cstdint>

#include "protocol/BdAddr.h"

inline constexpr std::size_t TEXT_RECORD_SIZE = 64;  // RES_VERSION, RES_MODELNAME
inline constexpr std::size_t INFO2_RECORD_SIZE = 41;
inline constexpr std::size_t INFO2_FLAG_COUNT = 5;

// Module states of DeviceInfo::state.
inline constexpr uint8_t STATE_IDLE = 0;
inline constexpr uint8_t STATE_SCANNING = 1;
inline constexpr uint8_t STATE_INQUIRING = 2;
inline constexpr uint8_t STATE_CONNECTING = 3;
inline constexpr uint8_t STATE_CONNECTED = 4;

#pragma pack(push, 1)

// The +INFO1 reply (41 bytes).
struct DeviceInfo {
    BdAddr addr;
    char name[33];   // at most 32 bytes and a NUL
    uint8_t opMode;  // 0 to 3
    uint8_t state;   // STATE_IDLE ... STATE_CONNECTED
};

// One device found by an inquiry (75 bytes).
struct InquiryResult {
    BdAddr addr;
    int8_t rssi;             // the low 8 bits of the reported signal strength
    uint32_t classOfDevice;  // at most 0xFFFFFF; unaligned, so read it by value, never bind a reference
    char name[64];           // at most 63 bytes and a NUL
};

// A keyword-less device line (44 bytes).
struct DeviceLineRecord {
    BdAddr addr;
    char name[33];      // at most 32 bytes and a NUL
    uint8_t mode;       // 0 "MODE0" ... 3 "MODE3"
    uint8_t linkState;  // 0 "STANDBY", 1 "PENDING", 2 "CONNECT"
    uint8_t flag1;      // 0 or 1
    uint8_t flag2;      // 0 or 1
    uint8_t flow;       // 0 "NoFC", 1 "HWFC"
};

#pragma pack(pop)

static_assert(sizeof(DeviceInfo) == 41 && offsetof(DeviceInfo, opMode) == 39 &&
              offsetof(DeviceInfo, state) == 40);
static_assert(sizeof(InquiryResult) == 75 && offsetof(InquiryResult, rssi) == 6 &&
              offsetof(InquiryResult, classOfDevice) == 7 && offsetof(InquiryResult, name) == 11);
static_assert(sizeof(DeviceLineRecord) == 44 && offsetof(DeviceLineRecord, mode) == 39 &&
              offsetof(DeviceLineRecord, flow) == 43);
