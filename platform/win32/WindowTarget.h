#pragma once

// Where a Win32 window's messages meet its ui::Window: the layer's messages
// (commands, timers, posted ones, keys, painting) go through the window's
// WindowProc or message map; the rest keeps the system's handling.

#include <functional>

#include "platform/Window.h"
#include "platform/win32/MessageTarget.h"

namespace ui::win32 {

class WindowTarget : public MessageTarget {
public:
    WindowTarget(Window& window, std::function<void(HWND__*)> onInit)
        : m_window(window), m_onInit(std::move(onInit)) {}

    bool OnMessage(HWND__* hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnReflect(UINT code) override;
    bool PreTranslate(HWND__* focus, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDetached() override;

private:
    bool Paint(HWND__* hwnd);

    Window& m_window;
    std::function<void(HWND__*)> m_onInit;
};

}  // namespace ui::win32
