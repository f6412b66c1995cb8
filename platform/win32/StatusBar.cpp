#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/StatusBar.h"

#include "platform/LoadString.h"
#include "platform/win32/StatusPanes.h"
#include "platform/win32/WindowAccess.h"

namespace ui {
namespace {

win32::StatusPanes* PanesOf(const Window& window) {
    return win32::StatusPanes::Of(HwndOf(window));
}

}  // namespace

bool StatusBar::Create(Window* parent) {
    if (parent == nullptr || !parent->IsWindow() || IsWindow()) return false;
    HWND bar =
        CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_TOOLTIPS, 0, 0, 0, 0,
                        HwndOf(*parent), reinterpret_cast<HMENU>(static_cast<INT_PTR>(AFX_IDW_STATUS_BAR)),
                        GetModuleHandleW(nullptr), nullptr);
    if (bar == nullptr) return false;
    if (!win32::StatusPanes::Install(bar)) {
        ::DestroyWindow(bar);
        return false;
    }
    WindowAccess::AttachRouted(*this, bar, AFX_IDW_STATUS_BAR, parent, true);
    return true;
}

bool StatusBar::SetIndicators(const std::vector<UINT>& ids) {
    win32::StatusPanes* panes = PanesOf(*this);
    if (panes == nullptr) return false;
    std::vector<std::u16string> texts;
    for (UINT id : ids)
        texts.push_back(LoadString(static_cast<int>(id)));
    panes->Reset(texts);
    return true;
}

void StatusBar::SetPaneInfo(int index, UINT, UINT style, int width) {
    win32::StatusPanes* panes = PanesOf(*this);
    if (panes != nullptr && panes->Has(index)) panes->SetLayout(index, (style & SBPS_STRETCH) != 0, width);
}

bool StatusBar::SetPaneText(int index, std::u16string_view text, bool update) {
    return SetPaneText(index, text, 0, 0, update);
}

bool StatusBar::SetPaneText(int index, std::u16string_view text, std::size_t first, std::size_t count,
                            bool update) {
    win32::StatusPanes* panes = PanesOf(*this);
    if (panes == nullptr || !panes->Has(index)) return false;
    panes->SetText(index, text, first, count);
    if (update) ::UpdateWindow(HwndOf(*this));
    return true;
}

std::u16string StatusBar::GetPaneText(int index) const {
    const win32::StatusPanes* panes = PanesOf(*this);
    return panes != nullptr && panes->Has(index) ? panes->Text(index) : std::u16string();
}

int StatusBar::GetPaneWidthFor(int index, std::u16string_view text) const {
    const win32::StatusPanes* panes = PanesOf(*this);
    return panes != nullptr && panes->Has(index) ? panes->WidthFor(text) : 0;
}

int StatusBar::GetPaneCount() const {
    const win32::StatusPanes* panes = PanesOf(*this);
    return panes != nullptr ? panes->Count() : 0;
}

int StatusBar::GetBarHeight() const {
    HWND bar = HwndOf(*this);
    ::RECT rect{};
    if (bar == nullptr || !::GetWindowRect(bar, &rect)) return 0;
    return rect.bottom - rect.top;
}

}  // namespace ui
