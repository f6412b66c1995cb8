#pragma once

// A menu: the menu bar of a dialog whose template names a menu, and the
// system menu of a top-level dialog. Choosing an item sends WM_COMMAND (the
// item's id, BN_CLICKED) to the dialog; an item of the system menu sends
// WM_SYSCOMMAND (wParam the id). The system menu shows as the context menu
// of the dialog's client area.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "res/WinDefs.h"

class QMenu;

namespace ui {

class Menu {
public:
    // `choose` runs with an item's id when the user chooses it.
    Menu(QMenu* menu, std::function<void(UINT)> choose) : m_menu(menu), m_choose(std::move(choose)) {}

    // MF_SEPARATOR, or MF_STRING with an id and a text.
    bool AppendMenu(UINT flags, UINT id = 0, std::u16string_view text = {});
    int GetMenuItemCount() const;
    // The id at `position` (0 for a separator or a popup, -1 past the end).
    int GetMenuItemID(int position) const;
    std::u16string GetMenuString(int position) const;
    // The popup at `position`, or nullptr.
    Menu* GetSubMenu(int position) const;

    QMenu* GetQMenu() const { return m_menu; }

private:
    QMenu* m_menu;
    std::function<void(UINT)> m_choose;
    mutable std::map<int, std::unique_ptr<Menu>> m_subs;
};

}  // namespace ui
