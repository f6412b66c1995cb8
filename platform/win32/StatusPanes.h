#pragma once

// The panes of a native status bar with what the control does not keep: each
// pane's whole text, the part of it that may give way to an ellipsis, and
// whether the pane stretches. Lives as long as the bar's window, which it
// keeps along the bottom of its parent and fitted to its width.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/Win32.h"

namespace ui::win32 {

class StatusPanes {
public:
    // Installs the panes on `bar`; false when that fails.
    static bool Install(HWND bar);
    // The panes of a bar they were installed on, or nullptr.
    static StatusPanes* Of(HWND bar);

    // Panes showing `texts`, each as wide as its text needs.
    void Reset(const std::vector<std::u16string>& texts);
    int Count() const { return static_cast<int>(m_panes.size()); }
    bool Has(int index) const { return index >= 0 && index < Count(); }
    void SetLayout(int index, bool stretch, int width);
    // [first, first + count) of `text` may lose its middle (count 0: none).
    void SetText(int index, std::u16string_view text, std::size_t first, std::size_t count);
    const std::u16string& Text(int index) const { return m_panes[static_cast<std::size_t>(index)].text; }
    int WidthFor(std::u16string_view text) const;

private:
    struct Pane {
        std::u16string text;
        std::size_t first = 0;
        std::size_t count = 0;
        bool stretch = false;
        int width = 0;
    };

    explicit StatusPanes(HWND bar) : m_bar(bar) {}
    static LRESULT CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR ref);
    static LRESULT CALLBACK ParentProc(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR);

    void Layout();
    void Fit(int index);
    int TextWidth(HDC dc, std::u16string_view text) const;
    int Room(int index) const;

    HWND m_bar;
    std::vector<Pane> m_panes;
};

}  // namespace ui::win32
