#include "platform/VersionInfo.h"

#include <array>

namespace ui {
namespace {

constexpr std::uint32_t kVersionMS = (TARNEL_VERSION_MAJOR << 16) | TARNEL_VERSION_MINOR;
constexpr std::uint32_t kVersionLS = (TARNEL_VERSION_PATCH << 16) | TARNEL_VERSION_TWEAK;
constexpr FixedFileInfo kFixed{kVersionMS, kVersionLS, kVersionMS, kVersionLS};
constexpr std::array kTranslations{Translation{0x0412, 0x04B0}};
constexpr std::uint16_t kCodePage = 0x04B0;

struct StringValue {
    std::u16string_view key;
    std::u16string_view value;
};

// Both string tables (0x0400 and 0x0412) hold these same values.
constexpr std::array kStrings{
    StringValue{u"CompanyName", u"Quillmore"},
    StringValue{u"FileDescription", u"Tarnel Manager"},
    StringValue{u"FileVersion", u"" TARNEL_VERSION_TEXT},
    StringValue{u"LegalCopyright", u"Copyright (C) 2026 Quillmore. All rights reserved."},
    StringValue{u"ProductName", u"Tarnel Manager"},
    StringValue{u"ProductVersion", u"" TARNEL_VERSION_TEXT},
};

}  // namespace

const FixedFileInfo* VerQueryRoot() {
    return &kFixed;
}

std::span<const Translation> VerQueryTranslations() {
    return kTranslations;
}

std::optional<std::u16string> VerQueryString(std::uint16_t language, std::uint16_t codePage,
                                             std::u16string_view key) {
    if ((language != 0x0400 && language != 0x0412) || codePage != kCodePage) return std::nullopt;
    for (const StringValue& entry : kStrings) {
        if (entry.key == key) return std::u16string(entry.value);
    }
    return std::nullopt;
}

}  // namespace ui
