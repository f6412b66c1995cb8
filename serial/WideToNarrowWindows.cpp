#include "serial/WideToNarrowWindows.h"

#include <windows.h>

namespace {

// UTF-8 takes no best-fit flag and no default character: the call fails with
// either. The ANSI code page is UTF-8 too where the system is set to it.
bool IsUtf8(unsigned codePage) {
    return codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8);
}

}  // namespace

std::optional<std::string> WideToNarrow(std::wstring_view text, unsigned codePage) {
    if (text.empty()) return std::string();
    const bool utf8 = IsUtf8(codePage);
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const int length = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int size =
        WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), length, out.data(), size, nullptr, nullptr);
    return out;
}
