#include "module/DeviceNameError.h"

#include <algorithm>

#include "module/MessageIds.h"
#include "protocol/CommandSet.h"

int DeviceNameError(std::string_view utf8) {
    if (utf8.empty()) return IDS_DEVICE_NAME_EMPTY;
    if (utf8.size() > MAX_DEVICE_NAME) return IDS_DEVICE_NAME_TOO_LONG;
    // Bytes below 0x80 stand only for themselves in UTF-8, so the bytes can be
    // checked one by one.
    const bool unsafe = std::any_of(utf8.begin(), utf8.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F || b == ',';
    });
    return unsafe ? IDS_DEVICE_NAME_CHARACTERS : 0;
}
