#include "platform/LoadString.h"

#include "platform/Localized.h"
#include "platform/QtText.h"

namespace ui {

std::u16string LoadString(int id) {
    const res::Text* text = res::FindString(id);
    return text != nullptr ? FromQString(Localized(*text)) : std::u16string();
}

}  // namespace ui
