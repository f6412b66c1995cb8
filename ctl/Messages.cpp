#include "ctl/Messages.h"

#include "ctl/UiLanguage.h"
#include "protocol/TextConversion.h"
#include "res/ResourceTypes.h"

namespace tarnel::ctl {

std::string Msg(int id) {
    const res::Text* text = res::FindString(id);
    if (text == nullptr) return {};
    std::u16string_view wide = KoreanUi() && !text->ko.empty() ? text->ko : text->en;
    wide = wide.substr(0, wide.find(u"\r\n"));
    std::string utf8;
    ToUtf8(wide, utf8);
    return utf8;
}

}  // namespace tarnel::ctl
