#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/win32/TemplateDialog.h"

#include "platform/win32/DialogTemplateEx.h"
#include "platform/win32/MenuBuilder.h"
#include "platform/win32/WindowRouting.h"

namespace ui::win32 {
namespace {

// A menu bar takes its height from the client area; the window grows by it.
void AttachMenu(HWND window, const res::MenuTemplate& menu, Language language) {
    ::RECT client{};
    GetClientRect(window, &client);
    SetMenu(window, BuildMenu(menu, language));
    ::RECT frame = client;
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

HWND CreateTemplateDialog(const res::DialogTemplate& dialog, Language language, HWND parent,
                          MessageTarget& target) {
    const std::vector<std::uint16_t> words = BuildDialogTemplateEx(dialog, language);
    HWND window =
        CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                                   parent, RoutingDialogProc, reinterpret_cast<LPARAM>(&target));
    if (window == nullptr) return nullptr;
    const res::MenuTemplate* menu = dialog.menuId != 0 ? res::FindMenu(dialog.menuId) : nullptr;
    if (menu != nullptr) AttachMenu(window, *menu, language);
    return window;
}

}  // namespace ui::win32
