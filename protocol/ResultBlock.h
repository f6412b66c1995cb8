#pragma once

// The result block every command, poll step and response handler answers
// with, and the result codes callers test.
//
// Layout (packed, native byte order):
//   bytes 0-3  result code (int32)
//   bytes 4-5  payload length (uint16): the fixed record size of the result
//              code (see PayloadRecords.h), 0 for blocks without payload
//   bytes 6..  the payload record, zero-filled before it is written
// A block is allocated with exactly 6 + payload length bytes.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

// An OK line ended the command.
inline constexpr int RES_OK = 0;
// An ERROR line ended the command.
inline constexpr int RES_ERROR = 1;
// Inside the engine only: no handler recognised the line; keep waiting.
inline constexpr int RES_NOT_MINE = 2;
// Inside the engine and from poll steps: no complete line buffered yet.
inline constexpr int RES_INCOMPLETE = 3;
// No result block came back (also from the quiet-mode wrappers).
inline constexpr int RES_NO_RESULT = 4;
// A response line longer than 255 bytes was met; the command ended.
inline constexpr int RES_LINE_TOO_LONG = 5;
// The formatted command does not fit the module's 128-byte command buffer
// (its closing CR would be cut off); nothing was sent.
inline constexpr int RES_COMMAND_TOO_LONG = 6;
// The time limit passed without a conclusive line.
inline constexpr int RES_TIMEOUT = 7;
// The channel is not open; nothing was sent.
inline constexpr int RES_NOT_OPEN = 8;
// The engine was closed while the call waited.
inline constexpr int RES_CLOSED = 9;

// Payload codes: a handler recognised a data line and filled its record.
inline constexpr int RES_VERSION = 13;      // 64-byte text
inline constexpr int RES_MFRMODE = 14;      // 1 byte, 0 to 2
inline constexpr int RES_MFRMODE_2 = 15;    // 1 byte, 0 to 2
inline constexpr int RES_MODELNAME = 16;    // 64-byte text
inline constexpr int RES_DEVICE_LINE = 17;  // DeviceLineRecord
inline constexpr int RES_INFO1 = 18;        // DeviceInfo
inline constexpr int RES_INFO2 = 19;        // 41 bytes, flags in bytes 0 to 4
inline constexpr int RES_ATCM = 20;         // int32, 1 or 2
inline constexpr int RES_CMBDA = 21;        // BdAddr
inline constexpr int RES_MFRBDA = 22;       // BdAddr
inline constexpr int RES_INQUIRY = 23;      // InquiryResult
inline constexpr int RES_CONNECT = 24;      // BdAddr of the connected peer
inline constexpr int RES_DISCONNECT = 25;   // BdAddr of the disconnected peer
inline constexpr int RES_TADDR = 26;        // BdAddr of the stored target
inline constexpr int RES_QM = 27;           // 1 byte: 0 responses on, 1 off

inline constexpr std::size_t RESULT_HEADER_SIZE = 6;

using ResultBlock = std::unique_ptr<uint8_t[]>;

// A block with the given code and a zero-filled payload of `payloadLength` bytes.
ResultBlock MakeResultBlock(int code, uint16_t payloadLength = 0);

// The fields of a block; `block` must point to a whole block.
int ResultCode(const uint8_t* block);
void SetResultCode(uint8_t* block, int code);
uint16_t PayloadLength(const uint8_t* block);
inline const uint8_t* Payload(const uint8_t* block) {
    return block + RESULT_HEADER_SIZE;
}
inline uint8_t* Payload(uint8_t* block) {
    return block + RESULT_HEADER_SIZE;
}

// Copies the payload into `record` (at most sizeof(Record) bytes, the rest of
// `record` untouched). Records are byte-packed, so this is the only safe way
// to read one out of a block.
template <typename Record>
void CopyPayload(const uint8_t* block, Record& record) {
    std::size_t n = PayloadLength(block);
    std::memcpy(&record, Payload(block), n < sizeof(Record) ? n : sizeof(Record));
}
