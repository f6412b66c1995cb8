#include "serial/PortName.h"

#include <windows.h>

#include "serial/Utf8ToWideWindows.h"

PortName::PortName(const std::string& utf8) : m_native(Utf8ToWide(utf8)) {}

PortName::PortName(const char* utf8) : m_native(Utf8ToWide(utf8)) {}

PortName PortName::FromUtf16(std::u16string_view text) {
    return FromNative(std::wstring(text.begin(), text.end()));
}

std::u16string PortName::ToUtf16() const {
    return {m_native.begin(), m_native.end()};
}

std::string PortName::ToUtf8() const {
    if (m_native.empty()) return {};
    const int length = static_cast<int>(m_native.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, m_native.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, m_native.data(), length, text.data(), size, nullptr, nullptr);
    return text;
}
