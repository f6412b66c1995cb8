#pragma once

// A message to the native control behind a window of the layer.

#include "platform/win32/WindowAccess.h"

namespace ui::win32 {

// 0 while the window does not exist.
inline LRESULT SendNative(const Window& window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    HWND hwnd = HwndOf(window);
    return hwnd != nullptr ? SendMessageW(hwnd, message, wParam, lParam) : 0;
}

}  // namespace ui::win32
