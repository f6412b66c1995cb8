#pragma once

// UTF-16 text of the layer as Win32's wide strings: on Windows wchar_t is a
// UTF-16 unit, so the two views share their bytes.

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

namespace ui::win32 {

inline const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::u16string FromWide(std::wstring_view text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

}  // namespace ui::win32
