#include "platform/LoadString.h"

#include "platform/Localized.h"

namespace ui {

std::u16string LoadString(int id) {
    const res::Text* text = res::FindString(id);
    return text != nullptr ? std::u16string(Localized(*text)) : std::u16string();
}

}  // namespace ui
