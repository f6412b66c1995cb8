#include "platform/Menu.h"

#include <QAction>
#include <QMenu>

#include "platform/qt/QtText.h"

namespace ui {

bool Menu::AppendMenu(UINT flags, UINT id, std::u16string_view text) {
    if (flags & MF_SEPARATOR) {
        m_menu->addSeparator();
        return true;
    }
    QAction* action = m_menu->addAction(ToQString(text));
    action->setData(id);
    QObject::connect(action, &QAction::triggered, m_menu, [choose = m_choose, id] {
        if (choose) choose(id);
    });
    return true;
}

int Menu::GetMenuItemCount() const {
    return static_cast<int>(m_menu->actions().size());
}

int Menu::GetMenuItemID(int position) const {
    const auto actions = m_menu->actions();
    if (position < 0 || position >= actions.size()) return -1;
    const QAction* action = actions.at(position);
    return action->isSeparator() || action->menu() != nullptr ? 0 : action->data().toInt();
}

std::u16string Menu::GetMenuString(int position) const {
    const auto actions = m_menu->actions();
    if (position < 0 || position >= actions.size()) return {};
    return FromQString(actions.at(position)->text());
}

Menu* Menu::GetSubMenu(int position) const {
    const auto actions = m_menu->actions();
    if (position < 0 || position >= actions.size() || actions.at(position)->menu() == nullptr) return nullptr;
    auto& sub = m_subs[position];
    if (!sub) sub = std::make_unique<Menu>(actions.at(position)->menu(), m_choose);
    return sub.get();
}

}  // namespace ui
