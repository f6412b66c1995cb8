#include "protocol/ResultBlock.h"

ResultBlock MakeResultBlock(int code, uint16_t payloadLength) {
    ResultBlock block = std::make_unique<uint8_t[]>(RESULT_HEADER_SIZE + payloadLength);
    SetResultCode(block.get(), code);
    std::memcpy(block.get() + 4, &payloadLength, sizeof payloadLength);
    return block;
}

int ResultCode(const uint8_t* block) {
    int32_t code = 0;
    std::memcpy(&code, block, sizeof code);
    return code;
}

void SetResultCode(uint8_t* block, int code) {
    const int32_t value = code;
    std::memcpy(block, &value, sizeof value);
}

uint16_t PayloadLength(const uint8_t* block) {
    uint16_t length = 0;
    std::memcpy(&length, block + 4, sizeof length);
    return length;
}
