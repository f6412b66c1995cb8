#include "tests/support/win32/ScreenInput.h"

#include <chrono>
#include <cstdlib>

#include "tests/support/WaitUntil.h"

namespace tarnel::test {
namespace {

// The last click's time and point.
std::chrono::steady_clock::time_point g_last;
POINT g_lastPoint{-1, -1};

// Two clicks at one spot within the system's double-click time are a double
// click; a person's separate clicks are further apart.
void WaitOutDoubleClick(POINT target) {
    const auto doubleClick = std::chrono::milliseconds(GetDoubleClickTime());
    if (std::abs(target.x - g_lastPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
        std::abs(target.y - g_lastPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK)) {
        WaitUntil([&] { return std::chrono::steady_clock::now() - g_last > doubleClick; }, doubleClick * 2);
    }
}

}  // namespace

void ClickAtScreen(POINT target) {
    WaitOutDoubleClick(target);
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
    g_last = std::chrono::steady_clock::now();
    g_lastPoint = target;
}

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(INPUT));
}

void SendUnit(wchar_t unit) {
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = unit;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace tarnel::test
