#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "tests/support/PersonInput.h"

#include <chrono>

#include "platform/TestHooks.h"
#include "platform/win32/WindowAccess.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/win32/ScreenInput.h"

namespace tarnel::test {
namespace {

// SendInput only queues the input: its messages, and the characters
// TranslateMessage posts for keys, are handled here before the call returns.
void Handle() {
    ui::test::ProcessEvents();
    WaitUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) == 0; }, std::chrono::seconds(5),
              ui::test::ProcessEvents);
    ui::test::ProcessEvents();
}

void SendModifiers(unsigned modifiers, bool up) {
    if (modifiers & kShift) SendKey(VK_SHIFT, up);
    if (modifiers & kControl) SendKey(VK_CONTROL, up);
    if (modifiers & kAlt) SendKey(VK_MENU, up);
}

void SendPress(WORD key, unsigned modifiers) {
    SendModifiers(modifiers, false);
    SendKey(key, false);
    SendKey(key, true);
    SendModifiers(modifiers, true);
}

}  // namespace

ui::Window* ClickOn(const ui::Window& control, Offset offset) {
    ui::RECT rect;
    control.GetWindowRect(rect);
    const POINT point = offset.x == -1 && offset.y == -1
                            ? POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}
                            : POINT{rect.left + offset.x, rect.top + offset.y};
    RECT top{};
    GetWindowRect(GetAncestor(ui::HwndOf(control), GA_ROOT), &top);
    if (!PtInRect(&top, point)) return nullptr;
    ui::Window* hit = ui::WindowAccess::FindWindowFor(WindowFromPoint(point));
    ClickAtScreen(point);
    Handle();
    return hit;
}

void PressKey(ui::UINT virtualKey, unsigned modifiers) {
    SendPress(static_cast<WORD>(virtualKey), modifiers);
    Handle();
}

// A character the keyboard layout has is typed with its key (and Shift);
// any other arrives as the unit itself.
void TypeText(std::u16string_view text) {
    for (const char16_t unit : text) {
        const SHORT key = VkKeyScanW(static_cast<wchar_t>(unit));
        const unsigned shiftState = static_cast<unsigned>(key) >> 8 & 0xFF;
        if (key != -1 && (shiftState & ~1u) == 0)
            SendPress(LOBYTE(key), shiftState != 0 ? kShift : kNoModifier);
        else
            SendUnit(static_cast<wchar_t>(unit));
        Handle();
    }
}

}  // namespace tarnel::test
