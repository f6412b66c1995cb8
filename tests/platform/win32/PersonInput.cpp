#include "tests/platform/win32/PersonInput.h"

#include <chrono>

#include "platform/win32/Wide.h"
#include "tests/support/WaitUntil.h"

namespace tarnel::test {

void ClickAt(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    const POINT target{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = target.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = target.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof(INPUT));
    // The button goes down where the pointer is: only once it has arrived.
    WaitUntil(
        [&] {
            POINT now{};
            GetCursorPos(&now);
            return now.x == target.x && now.y == target.y;
        },
        std::chrono::seconds(5));
    // Each event carries the point too, so none is taken where the pointer was.
    INPUT buttons[2] = {move, move};
    buttons[0].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    buttons[1].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(2, buttons, sizeof(INPUT));
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
