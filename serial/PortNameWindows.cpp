#include "serial/PortName.h"

#include <windows.h>

namespace {

// Without MB_ERR_INVALID_CHARS and WC_ERR_INVALID_CHARS the system puts
// U+FFFD where the text is not well formed.
std::wstring FromUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), size);
    return wide;
}

}  // namespace

PortName::PortName(const std::string& utf8) : m_native(FromUtf8(utf8)) {}

PortName::PortName(const char* utf8) : m_native(FromUtf8(utf8)) {}

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
