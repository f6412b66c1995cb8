#include "platform/LoadString.h"

#include "platform/qt/Localized.h"
#include "platform/qt/QtText.h"

namespace ui {

std::u16string LoadString(int id) {
    const res::Text* text = res::FindString(id);
    return text != nullptr ? FromQString(Localized(*text)) : std::u16string();
}

}  // namespace ui
