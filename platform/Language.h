#pragma once

// The user interface language: Korean when the locale's first UI language is
// Korean, else English; tests can force either. Templates, the menu and the
// string table follow it from the next window built or string loaded.

#include <cstdint>

namespace ui {

enum class Language { English, Korean };

Language GetUiLanguage();
void SetUiLanguage(Language language);
// The language as a Windows language id: 0x0412 for Korean, 0x0409 else.
std::uint16_t GetUserDefaultUILanguage();

}  // namespace ui
