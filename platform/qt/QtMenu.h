#pragma once

// The layer's menus at the Qt edge.

#include <QMenu>
#include <functional>
#include <map>
#include <memory>

#include "platform/Menu.h"

namespace ui {

struct Menu::Impl {
    QMenu* menu;
    // Runs with an item's id when the user chooses it.
    std::function<void(UINT)> choose;
    std::map<int, std::unique_ptr<Menu>> subs;
};

inline std::unique_ptr<Menu> MakeMenu(QMenu* menu, std::function<void(UINT)> choose) {
    return std::make_unique<Menu>(std::make_unique<Menu::Impl>(Menu::Impl{menu, std::move(choose), {}}));
}

inline QMenu* QMenuOf(const Menu& menu) {
    return menu.GetImpl().menu;
}

}  // namespace ui
