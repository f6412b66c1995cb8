#pragma once

// The program's version data, compiled in where Windows keeps a version
// resource, read through the same three lookups: the fixed part, the
// translation list and the string tables (by language, code page and key).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ui {

struct FixedFileInfo {
    std::uint32_t dwFileVersionMS;  // major << 16 | minor
    std::uint32_t dwFileVersionLS;  // patch << 16 | build
    std::uint32_t dwProductVersionMS;
    std::uint32_t dwProductVersionLS;
};

struct Translation {
    std::uint16_t language;
    std::uint16_t codePage;
};

// The root ("\\"): file and product version from the project's version.
// nullptr when there is no version data.
const FixedFileInfo* VerQueryRoot();
// "\\VarFileInfo\\Translation": one entry, 0x0412 with code page 0x04B0.
std::span<const Translation> VerQueryTranslations();
// "\\StringFileInfo\\<language><code page>\\<key>": ProductName,
// LegalCopyright, CompanyName, FileDescription, FileVersion, ProductVersion
// for language 0x0400 and 0x0412 with code page 0x04B0; nullopt for any other
// table or key.
std::optional<std::u16string> VerQueryString(std::uint16_t language, std::uint16_t codePage,
                                             std::u16string_view key);

}  // namespace ui
