#include "platform/Menu.h"

#include <QAction>

#include "platform/qt/QtMenu.h"
#include "platform/qt/QtText.h"

namespace ui {

Menu::Menu(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

Menu::~Menu() = default;

bool Menu::AppendMenu(UINT flags, UINT id, std::u16string_view text) {
    if (flags & MF_SEPARATOR) {
        m_impl->menu->addSeparator();
        return true;
    }
    QAction* action = m_impl->menu->addAction(ToQString(text));
    action->setData(id);
    QObject::connect(action, &QAction::triggered, m_impl->menu, [choose = m_impl->choose, id] {
        if (choose) choose(id);
    });
    return true;
}

int Menu::GetMenuItemCount() const {
    return static_cast<int>(m_impl->menu->actions().size());
}

int Menu::GetMenuItemID(int position) const {
    const auto actions = m_impl->menu->actions();
    if (position < 0 || position >= actions.size()) return -1;
    const QAction* action = actions.at(position);
    return action->isSeparator() || action->menu() != nullptr ? 0 : action->data().toInt();
}

std::u16string Menu::GetMenuString(int position) const {
    const auto actions = m_impl->menu->actions();
    if (position < 0 || position >= actions.size()) return {};
    return FromQString(actions.at(position)->text());
}

Menu* Menu::GetSubMenu(int position) const {
    const auto actions = m_impl->menu->actions();
    if (position < 0 || position >= actions.size() || actions.at(position)->menu() == nullptr) return nullptr;
    auto& sub = m_impl->subs[position];
    if (!sub) sub = MakeMenu(actions.at(position)->menu(), m_impl->choose);
    return sub.get();
}

}  // namespace ui
