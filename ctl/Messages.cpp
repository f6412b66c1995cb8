#include "ctl/Messages.h"

namespace tarnel::ctl {

const char* DeviceNameMessage(int id) {
    if (id == 122) return IDS_NAME_EMPTY;
    return id == 123 ? IDS_NAME_TOO_LONG : IDS_NAME_BAD_CHARACTER;
}

}  // namespace tarnel::ctl
