#include <QCoreApplication>

#include "platform/BoxRequests.h"
#include "tests/support/ProcessEvents.h"

namespace ui::test {

void ProcessEvents() {
    BoxRequests::Instance().ServePending();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace ui::test
