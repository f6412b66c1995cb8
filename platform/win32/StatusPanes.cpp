#include "platform/win32/StatusPanes.h"

#include <algorithm>

namespace ui::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 0x5A;
constexpr wchar_t kPanesProp[] = L"Tarnel.StatusPanes";
// The room a part's frame and the text's indent take from its width.
constexpr int kPadding = 10;
constexpr char16_t kEllipsis = u'\u2026';

// A device context with the bar's font selected, for measuring.
class MeasureDc {
public:
    explicit MeasureDc(HWND bar) : m_bar(bar), m_dc(GetDC(bar)) {
        m_old = SelectObject(m_dc, reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0)));
    }
    ~MeasureDc() {
        SelectObject(m_dc, m_old);
        ReleaseDC(m_bar, m_dc);
    }
    MeasureDc(const MeasureDc&) = delete;
    MeasureDc& operator=(const MeasureDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_bar;
    HDC m_dc;
    HGDIOBJ m_old;
};

}  // namespace

bool StatusPanes::Install(HWND bar) {
    auto* panes = new StatusPanes(bar);
    if (!SetWindowSubclass(bar, BarProc, kSubclassId, reinterpret_cast<DWORD_PTR>(panes))) {
        delete panes;
        return false;
    }
    SetPropW(bar, kPanesProp, panes);
    const HWND parent = GetParent(bar);
    SetWindowSubclass(parent, ParentProc, static_cast<UINT_PTR>(GetDlgCtrlID(bar)), 0);
    SendMessageW(bar, WM_SETFONT, SendMessageW(parent, WM_GETFONT, 0, 0), FALSE);
    SendMessageW(bar, WM_SIZE, 0, 0);
    return true;
}

StatusPanes* StatusPanes::Of(HWND bar) {
    return bar != nullptr ? static_cast<StatusPanes*>(GetPropW(bar, kPanesProp)) : nullptr;
}

LRESULT CALLBACK StatusPanes::BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR ref) {
    auto* panes = reinterpret_cast<StatusPanes*>(ref);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(bar, BarProc, kSubclassId);
        RemovePropW(bar, kPanesProp);
        delete panes;
        return DefSubclassProc(bar, message, wParam, lParam);
    }
    const LRESULT result = DefSubclassProc(bar, message, wParam, lParam);
    if (message == WM_SIZE) panes->Layout();
    return result;
}

// The parent does not tell its status bar of a new size by itself.
LRESULT CALLBACK StatusPanes::ParentProc(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR) {
    if (message == WM_SIZE) {
        if (HWND bar = GetDlgItem(parent, static_cast<int>(id))) SendMessageW(bar, WM_SIZE, 0, 0);
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(parent, ParentProc, id);
    }
    return DefSubclassProc(parent, message, wParam, lParam);
}

void StatusPanes::Reset(const std::vector<std::u16string>& texts) {
    m_panes.clear();
    for (const std::u16string& text : texts)
        m_panes.push_back({text, 0, 0, false, WidthFor(text)});
    Layout();
}

void StatusPanes::SetLayout(int index, bool stretch, int width) {
    Pane& pane = m_panes[static_cast<std::size_t>(index)];
    pane.stretch = stretch;
    pane.width = std::max(0, width);
    Layout();
}

void StatusPanes::SetText(int index, std::u16string_view text, std::size_t first, std::size_t count) {
    Pane& pane = m_panes[static_cast<std::size_t>(index)];
    pane.text = text;
    pane.first = std::min(first, text.size());
    pane.count = std::min(count, text.size() - pane.first);
    Fit(index);
}

int StatusPanes::WidthFor(std::u16string_view text) const {
    const MeasureDc dc(m_bar);
    return TextWidth(dc.Get(), text) + kPadding;
}

int StatusPanes::TextWidth(HDC dc, std::u16string_view text) const {
    ::SIZE size{};
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()),
                          &size);
    return size.cx;
}

// The parts' right edges: fixed panes as wide as set, stretching ones share
// what is left of the bar's width.
void StatusPanes::Layout() {
    if (m_panes.empty()) {
        int none = -1;
        SendMessageW(m_bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&none));
        SendMessageW(m_bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
        return;
    }
    ::RECT client{};
    GetClientRect(m_bar, &client);
    int fixed = 0;
    int stretching = 0;
    for (const Pane& pane : m_panes) {
        fixed += pane.stretch ? 0 : pane.width;
        stretching += pane.stretch ? 1 : 0;
    }
    const int left = std::max(0, static_cast<int>(client.right) - fixed);
    std::vector<int> edges;
    int edge = 0;
    for (const Pane& pane : m_panes) {
        edge += pane.stretch ? left / stretching : pane.width;
        edges.push_back(edge);
    }
    SendMessageW(m_bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int index = 0; index < Count(); ++index)
        Fit(index);
}

int StatusPanes::Room(int index) const {
    ::RECT part{};
    SendMessageW(m_bar, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&part));
    return part.right - part.left - kPadding;
}

void StatusPanes::Fit(int index) {
    const Pane& pane = m_panes[static_cast<std::size_t>(index)];
    const MeasureDc dc(m_bar);
    const int room = Room(index);
    std::u16string shown = pane.text;
    if (pane.count > 0 && TextWidth(dc.Get(), shown) > room) {
        const std::u16string_view text = pane.text;
        const std::u16string_view before = text.substr(0, pane.first);
        const std::u16string_view after = text.substr(pane.first + pane.count);
        const std::u16string_view part = text.substr(pane.first, pane.count);
        for (std::size_t keep = pane.count; keep-- > 0;) {
            shown = std::u16string(before) + std::u16string(part.substr(0, (keep + 1) / 2)) + kEllipsis +
                    std::u16string(part.substr(part.size() - keep / 2)) + std::u16string(after);
            if (TextWidth(dc.Get(), shown) <= room) break;
        }
    }
    const std::u16string tip = shown == pane.text ? std::u16string() : pane.text;
    SendMessageW(m_bar, SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(shown.c_str()));
    SendMessageW(m_bar, SB_SETTIPTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(tip.c_str()));
}

}  // namespace ui::win32
