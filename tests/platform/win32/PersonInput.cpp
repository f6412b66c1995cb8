#include "tests/platform/win32/PersonInput.h"

#include "platform/win32/Wide.h"
#include "tests/support/win32/ScreenInput.h"

namespace tarnel::test {

void ClickAt(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    ClickAtScreen(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void PressKey(WORD key) {
    SendKey(key, false);
    SendKey(key, true);
}

std::u16string TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return ui::win32::FromWide(text);
}

}  // namespace tarnel::test
