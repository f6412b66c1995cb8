#include <algorithm>
#include <array>

#include "res/ResourceCatalog.h"
#include "res/ResourceTables.h"
#include "res/ResourceTypes.h"

namespace res {
namespace {

const std::array<const DialogTemplate*, 5> kDialogs = {
    &kAboutBoxTemplate, &kMainDialogTemplate, &kConfPageTemplate, &kTermPageTemplate, &kComPortCfgTemplate,
};

}  // namespace

std::span<const DialogTemplate* const> AllDialogs() {
    return kDialogs;
}

std::span<const StringEntry> AllStrings() {
    return kStringTable;
}

const DialogTemplate* FindDialog(int id) {
    auto it = std::ranges::find(kDialogs, id, &DialogTemplate::id);
    return it == kDialogs.end() ? nullptr : *it;
}

const MenuTemplate* FindMenu(int id) {
    return id == kMainMenu.id ? &kMainMenu : nullptr;
}

const Text* FindString(int id) {
    auto it = std::ranges::lower_bound(kStringTable, id, {}, &StringEntry::id);
    return it != kStringTable.end() && it->id == id ? &it->text : nullptr;
}

std::span<const std::uint8_t> FindBinary(std::string_view type, int id) {
    if (type == "PNG" && id == 131) return kLogoPng;
    if (type == "ICON" && id == 128) return kIconPng;
    return {};
}

}  // namespace res
