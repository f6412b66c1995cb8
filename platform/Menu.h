#pragma once

// A menu: the menu bar of a dialog whose template names a menu, and the
// system menu of a top-level dialog. Choosing an item sends WM_COMMAND (the
// item's id, BN_CLICKED) to the dialog; an item of the system menu sends
// WM_SYSCOMMAND (wParam the id). The system menu shows as the context menu
// of the dialog's client area.

#include <memory>
#include <string>
#include <string_view>

#include "res/WinDefs.h"

namespace ui {

class Menu {
public:
    struct Impl;  // the backend's menu and what choosing an item does

    explicit Menu(std::unique_ptr<Impl> impl);
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    // MF_SEPARATOR, or MF_STRING with an id and a text.
    bool AppendMenu(UINT flags, UINT id = 0, std::u16string_view text = {});
    int GetMenuItemCount() const;
    // The id at `position` (0 for a separator or a popup, -1 past the end).
    int GetMenuItemID(int position) const;
    std::u16string GetMenuString(int position) const;
    // The popup at `position`, or nullptr.
    Menu* GetSubMenu(int position) const;

    Impl& GetImpl() const { return *m_impl; }

private:
    const std::unique_ptr<Impl> m_impl;
};

}  // namespace ui
