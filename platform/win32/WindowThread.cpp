#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/WindowThread.h"

#include <atomic>
#include <deque>
#include <mutex>

#include "platform/win32/WindowThreadStart.h"

namespace ui {
namespace {

constexpr UINT kRunTasks = WM_APP;

std::atomic<DWORD> g_windowThread{0};
std::mutex g_mutex;
std::deque<std::function<void()>> g_tasks;  // guarded by g_mutex
HWND g_taskWindow = nullptr;                // guarded by g_mutex

// One at a time, so that a task that runs a modal loop leaves the rest to
// the loop it runs.
void RunTasks() {
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(g_mutex);
            if (g_tasks.empty()) return;
            task = std::move(g_tasks.front());
            g_tasks.pop_front();
        }
        task();
    }
}

LRESULT CALLBACK TaskWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRunTasks) return DefWindowProcW(window, message, wParam, lParam);
    RunTasks();
    return 0;
}

HWND MakeTaskWindow() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = TaskWindowProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"Tarnel.WindowThreadTasks";
    RegisterClassW(&cls);
    return CreateWindowExW(0, cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance,
                           nullptr);
}

}  // namespace

bool IsWindowThread() {
    return g_windowThread.load() == GetCurrentThreadId();
}

void PostToWindowThread(std::function<void()> task) {
    std::lock_guard lock(g_mutex);
    g_tasks.push_back(std::move(task));
    if (g_taskWindow != nullptr) PostMessageW(g_taskWindow, kRunTasks, 0, 0);
}

namespace win32 {

void StartWindowThread() {
    DWORD none = 0;
    if (!g_windowThread.compare_exchange_strong(none, GetCurrentThreadId())) return;
    HWND window = MakeTaskWindow();
    std::lock_guard lock(g_mutex);
    g_taskWindow = window;
    // Work handed over before the thread started.
    if (!g_tasks.empty()) PostMessageW(g_taskWindow, kRunTasks, 0, 0);
}

}  // namespace win32
}  // namespace ui
