#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/win32/TextCodePage.h"

namespace ui::win32 {

std::u16string DecodeCodePage(unsigned codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::u16string text(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

}  // namespace ui::win32
