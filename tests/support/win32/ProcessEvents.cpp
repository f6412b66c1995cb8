#include "tests/support/ProcessEvents.h"
#include "platform/BoxRequests.h"
#include "platform/win32/ModalLoop.h"

namespace ui::test {

void ProcessEvents() {
    BoxRequests::Instance().ServePending();
    win32::PumpPending();
}

}  // namespace ui::test
