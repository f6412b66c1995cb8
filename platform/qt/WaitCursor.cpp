// The wait cursor of Window: one counter for the whole program.

#include <QApplication>
#include <QCursor>
#include <QMetaObject>
#include <mutex>

#include "platform/TestHooks.h"
#include "platform/Window.h"

namespace ui {
namespace {

std::mutex g_mutex;
int g_count = 0;
bool g_shown = false;  // window thread only

// Window thread: the override cursor follows the counter.
void Apply() {
    bool wanted = false;
    {
        std::lock_guard lock(g_mutex);
        wanted = g_count > 0;
    }
    if (wanted && !g_shown) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!wanted && g_shown) QApplication::restoreOverrideCursor();
    g_shown = wanted;
}

void ApplySoon() {
    if (QCoreApplication::instance() == nullptr) return;
    if (IsWindowThread())
        Apply();
    else
        QMetaObject::invokeMethod(QCoreApplication::instance(), &Apply, Qt::QueuedConnection);
}

void Change(int delta) {
    {
        std::lock_guard lock(g_mutex);
        g_count = std::max(0, g_count + delta);
    }
    ApplySoon();
}

}  // namespace

void Window::BeginWaitCursor() {
    Change(+1);
}

void Window::EndWaitCursor() {
    Change(-1);
}

void Window::RestoreWaitCursor() {
    ApplySoon();
}

int test::WaitCursorCount() {
    std::lock_guard lock(g_mutex);
    return g_count;
}

}  // namespace ui
