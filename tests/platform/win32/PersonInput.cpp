#include "tests/platform/win32/PersonInput.h"

#include "platform/win32/Wide.h"

namespace tarnel::test {

void ClickAt(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dx = ((rect.left + rect.right) / 2) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    inputs[0].mi.dy = ((rect.top + rect.bottom) / 2) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

void PressKey(WORD key) {
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

std::u16string TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return ui::win32::FromWide(text);
}

}  // namespace tarnel::test
