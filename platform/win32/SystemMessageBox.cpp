#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/win32/SystemMessageBox.h"

#include <string>

#include "platform/win32/Wide.h"

namespace ui::win32 {
namespace {

struct PendingBox {
    HHOOK hook = nullptr;
    HWND box = nullptr;
    Language language = Language::English;
};

thread_local PendingBox* t_pending = nullptr;

void SetButtonText(HWND box, int id, std::u16string_view en, std::u16string_view ko, Language language) {
    const std::u16string text(language == Language::Korean ? ko : en);
    SetDlgItemTextW(box, id, Wide(text));
}

// The box's window exists once it is about to be activated: its buttons get
// their texts before it is drawn.
LRESULT CALLBACK OnBoxEvent(int code, WPARAM wParam, LPARAM lParam) {
    PendingBox* pending = t_pending;
    if (code == HCBT_ACTIVATE && pending != nullptr && pending->box == nullptr) {
        pending->box = reinterpret_cast<HWND>(wParam);
        SetButtonText(pending->box, IDOK, u"OK", u"확인", pending->language);
        SetButtonText(pending->box, IDCANCEL, u"Cancel", u"취소", pending->language);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int DismissedAnswer(UINT style) {
    return (style & 0xF) == MB_OKCANCEL ? IDCANCEL : IDOK;
}

}  // namespace

int SystemMessageBox(HWND owner, std::u16string_view text, UINT style, Language language, OpenBox& open) {
    PendingBox pending;
    pending.language = language;
    pending.hook = SetWindowsHookExW(WH_CBT, OnBoxEvent, nullptr, GetCurrentThreadId());
    PendingBox* outer = t_pending;
    t_pending = &pending;
    open.SetCloser([&pending] {
        if (pending.box != nullptr) EndDialog(pending.box, IDCANCEL);
    });
    const std::u16string shown(text);
    const int answer = MessageBoxW(owner, Wide(shown), L"Tarnel Manager", style | MB_SETFOREGROUND);
    t_pending = outer;
    if (pending.hook != nullptr) UnhookWindowsHookEx(pending.hook);
    if (open.Closed()) return DismissedAnswer(style);
    return answer == IDOK ? IDOK : DismissedAnswer(style);
}

}  // namespace ui::win32
