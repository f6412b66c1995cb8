#pragma once

#include <string_view>

// Why the module cannot take `utf8` as its device name, as the id of the
// message that says so: 122 empty, 123 longer than 32 bytes, 131 a comma or a
// control character (below U+0020, or U+007F), which would end the name
// command early or break the module's information line. 0 when it can.
int DeviceNameError(std::string_view utf8);
