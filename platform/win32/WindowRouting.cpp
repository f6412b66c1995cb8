#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/win32/WindowRouting.h"

namespace ui::win32 {
namespace {

constexpr wchar_t kTargetProp[] = L"Tarnel.MessageTarget";
constexpr UINT_PTR kSubclassId = 1;

void Detach(HWND window, MessageTarget& target) {
    RemovePropW(window, kTargetProp);
    target.OnDetached();
}

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR ref) {
    auto* target = reinterpret_cast<MessageTarget*>(ref);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, ControlProc, kSubclassId);
        Detach(window, *target);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    if (target->OnMessage(window, message, wParam, lParam, result)) return result;
    return DefSubclassProc(window, message, wParam, lParam);
}

// Messages whose result a dialog procedure returns itself instead of
// through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
    return message == WM_INITDIALOG || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

}  // namespace

MessageTarget* TargetOf(HWND window) {
    return window != nullptr ? static_cast<MessageTarget*>(GetPropW(window, kTargetProp)) : nullptr;
}

bool AttachControl(HWND window, MessageTarget& target) {
    if (TargetOf(window) != nullptr) return false;
    SetPropW(window, kTargetProp, &target);
    return SetWindowSubclass(window, ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(&target)) != FALSE;
}

void DetachTarget(HWND window) {
    RemoveWindowSubclass(window, ControlProc, kSubclassId);
    RemovePropW(window, kTargetProp);
}

std::intptr_t __stdcall RoutingDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetPropW(window, kTargetProp, reinterpret_cast<HANDLE>(lParam));
    MessageTarget* target = TargetOf(window);
    if (target == nullptr) return FALSE;
    if (message == WM_COMMAND && lParam != 0) {
        MessageTarget* control = TargetOf(reinterpret_cast<HWND>(lParam));
        if (control != nullptr && control->OnReflect(HIWORD(wParam))) return TRUE;
    }
    LRESULT result = 0;
    const bool handled = target->OnMessage(window, message, wParam, lParam, result);
    if (message == WM_NCDESTROY) Detach(window, *target);
    // The dialog manager puts the focus on the first control that takes it.
    if (message == WM_INITDIALOG) return TRUE;
    if (!handled) return FALSE;
    if (ReturnsDirectly(message)) return result;
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

bool PreTranslateKey(HWND focus, UINT message, WPARAM wParam, LPARAM lParam) {
    for (HWND window = focus; window != nullptr; window = GetParent(window)) {
        MessageTarget* target = TargetOf(window);
        if (target != nullptr && target->PreTranslate(focus, message, wParam, lParam)) return true;
        if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0) break;
    }
    return false;
}

}  // namespace ui::win32
