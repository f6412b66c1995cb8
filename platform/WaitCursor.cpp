#include "platform/WaitCursor.h"

#include <algorithm>
#include <mutex>

#include "platform/TestHooks.h"
#include "platform/Window.h"
#include "platform/WindowThread.h"

namespace ui {
namespace {

std::mutex g_mutex;
int g_count = 0;

void ApplySoon() {
    if (IsWindowThread())
        ApplyWaitCursor();
    else
        PostToWindowThread(&ApplyWaitCursor);
}

void Change(int delta) {
    {
        std::lock_guard lock(g_mutex);
        g_count = std::max(0, g_count + delta);
    }
    ApplySoon();
}

}  // namespace

bool IsWaitCursorOn() {
    std::lock_guard lock(g_mutex);
    return g_count > 0;
}

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
