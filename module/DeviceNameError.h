#pragma once

#include <string_view>

// Why the module cannot take `utf8` as its device name, as the id of the
// message that says so (module/MessageIds.h): IDS_DEVICE_NAME_EMPTY,
// IDS_DEVICE_NAME_TOO_LONG (over 32 bytes), IDS_DEVICE_NAME_CHARACTERS (a
// comma or a control character (below U+0020, or U+007F), which would end the name
// command early or break the module's information line. 0 when it can.
int DeviceNameError(std::string_view utf8);
