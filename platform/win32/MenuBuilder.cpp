#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/win32/MenuBuilder.h"

#include <string>

#include "platform/win32/Wide.h"

namespace ui::win32 {
namespace {

void AppendItems(HMENU menu, std::span<const res::MenuItem> items, bool korean) {
    for (const res::MenuItem& item : items) {
        const std::u16string text(korean && !item.text.ko.empty() ? item.text.ko : item.text.en);
        if (item.id == 0 && !item.items.empty()) {
            HMENU popup = CreatePopupMenu();
            AppendItems(popup, item.items, korean);
            AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), Wide(text));
        } else {
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), Wide(text));
        }
    }
}

}  // namespace

HMENU BuildMenu(const res::MenuTemplate& menu, Language language) {
    HMENU bar = CreateMenu();
    AppendItems(bar, menu.items, language == Language::Korean);
    return bar;
}

}  // namespace ui::win32
