#pragma once

// The layer's menus at the Win32 edge: a menu the window it is set on owns.
// Choosing an item sends the window WM_COMMAND or WM_SYSCOMMAND itself.

#include <map>
#include <memory>

#include "platform/Menu.h"

struct HMENU__;

namespace ui {

struct Menu::Impl {
    HMENU__* menu;
    std::map<int, std::unique_ptr<Menu>> subs;
};

inline std::unique_ptr<Menu> MakeMenu(HMENU__* menu) {
    return std::make_unique<Menu>(std::make_unique<Menu::Impl>(Menu::Impl{menu, {}}));
}

}  // namespace ui
