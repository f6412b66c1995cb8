#include "platform/WindowThread.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace ui {

void PostToWindowThread(std::function<void()> task) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

}  // namespace ui
