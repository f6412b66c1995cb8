#include "platform/win32/Win32.h"
// The layer's header after the Windows ones, whose GetProfileInt and
// WriteProfileString macros Win32.h has dropped.
#include "platform/Profile.h"
#include "platform/win32/ProfileKey.h"
#include "platform/win32/Wide.h"

#include <utility>

namespace ui {
namespace {

std::u16string g_programKey{win32::kProfileKey};
// A test's own key; the program's names never move the values out of it.
std::u16string g_testKey;

std::u16string SectionKey(std::u16string_view section) {
    return win32::ProfileKey() + u'\\' + std::u16string(section);
}

// The value's bytes when it exists with the type `type`.
bool Read(std::u16string_view section, std::u16string_view entry, DWORD flags, void* data, DWORD& size) {
    const std::u16string key = SectionKey(section);
    const std::u16string name(entry);
    return RegGetValueW(HKEY_CURRENT_USER, win32::Wide(key), win32::Wide(name), flags | RRF_NOEXPAND, nullptr,
                        data, &size) == ERROR_SUCCESS;
}

bool Write(std::u16string_view section, std::u16string_view entry, DWORD type, const void* data, DWORD size) {
    const std::u16string key = SectionKey(section);
    const std::u16string name(entry);
    return RegSetKeyValueW(HKEY_CURRENT_USER, win32::Wide(key), win32::Wide(name), type, data, size) ==
           ERROR_SUCCESS;
}

}  // namespace

int GetProfileInt(std::u16string_view section, std::u16string_view entry, int defaultValue) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!Read(section, entry, RRF_RT_REG_DWORD, &value, size)) return defaultValue;
    return static_cast<int>(value);
}

std::u16string GetProfileString(std::u16string_view section, std::u16string_view entry,
                                std::u16string_view defaultValue) {
    DWORD size = 0;
    if (!Read(section, entry, RRF_RT_REG_SZ, nullptr, size)) return std::u16string(defaultValue);
    std::u16string value(size / sizeof(char16_t), u'\0');
    if (!Read(section, entry, RRF_RT_REG_SZ, value.data(), size)) return std::u16string(defaultValue);
    value.resize(size / sizeof(char16_t));
    while (!value.empty() && value.back() == u'\0')
        value.pop_back();
    return value;
}

bool WriteProfileInt(std::u16string_view section, std::u16string_view entry, int value) {
    const DWORD data = static_cast<DWORD>(value);
    return Write(section, entry, REG_DWORD, &data, sizeof data);
}

bool WriteProfileString(std::u16string_view section, std::u16string_view entry, std::u16string_view value) {
    const std::u16string data(value);
    return Write(section, entry, REG_SZ, data.c_str(),
                 static_cast<DWORD>((data.size() + 1) * sizeof(char16_t)));
}

namespace win32 {

std::u16string ProfileKey() {
    return g_testKey.empty() ? g_programKey : g_testKey;
}

std::u16string ProgramKey() {
    return g_programKey;
}

void SetProgramKey(std::u16string_view key) {
    g_programKey = key;
}

std::u16string SetProfileKey(std::u16string_view key) {
    return std::exchange(g_testKey, std::u16string(key));
}

}  // namespace win32
}  // namespace ui
