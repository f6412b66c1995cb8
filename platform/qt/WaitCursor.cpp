#include "platform/WaitCursor.h"

#include <QApplication>
#include <QCursor>

namespace ui {
namespace {

bool g_shown = false;  // window thread only

}  // namespace

// The override cursor follows the counter.
void ApplyWaitCursor() {
    const bool wanted = IsWaitCursorOn();
    if (wanted && !g_shown) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!wanted && g_shown) QApplication::restoreOverrideCursor();
    g_shown = wanted;
}

}  // namespace ui
