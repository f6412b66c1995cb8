#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/win32/Win32Menu.h"

#include "platform/win32/Wide.h"

namespace ui {
namespace {

bool ItemAt(HMENU menu, int position, MENUITEMINFOW& info) {
    info = MENUITEMINFOW{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_SUBMENU;
    return position >= 0 && GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) != FALSE;
}

}  // namespace

Menu::Menu(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

Menu::~Menu() = default;

bool Menu::AppendMenu(UINT flags, UINT id, std::u16string_view text) {
    if (flags & MF_SEPARATOR) return AppendMenuW(m_impl->menu, MF_SEPARATOR, 0, nullptr) != FALSE;
    const std::u16string item(text);
    return AppendMenuW(m_impl->menu, MF_STRING, id, win32::Wide(item)) != FALSE;
}

int Menu::GetMenuItemCount() const {
    return std::max(0, ::GetMenuItemCount(m_impl->menu));
}

int Menu::GetMenuItemID(int position) const {
    MENUITEMINFOW info;
    if (!ItemAt(m_impl->menu, position, info)) return -1;
    return (info.fType & MFT_SEPARATOR) || info.hSubMenu != nullptr ? 0 : static_cast<int>(info.wID);
}

std::u16string Menu::GetMenuString(int position) const {
    if (position < 0 || position >= GetMenuItemCount()) return {};
    wchar_t text[256] = {};
    const int length = GetMenuStringW(m_impl->menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return win32::FromWide(std::wstring_view(text, static_cast<size_t>(std::max(0, length))));
}

Menu* Menu::GetSubMenu(int position) const {
    MENUITEMINFOW info;
    if (!ItemAt(m_impl->menu, position, info) || info.hSubMenu == nullptr) return nullptr;
    auto& sub = m_impl->subs[position];
    if (!sub) sub = MakeMenu(info.hSubMenu);
    return sub.get();
}

}  // namespace ui
