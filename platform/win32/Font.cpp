#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/Font.h"

#include <cwchar>

#include "platform/win32/Win32Font.h"

namespace ui {
namespace {

// The dialog templates' font, "MS Shell Dlg" at 8 points on the screen.
LOGFONTW DialogFont() {
    LOGFONTW log{};
    HDC screen = GetDC(nullptr);
    log.lfHeight = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    log.lfWeight = FW_NORMAL;
    log.lfCharSet = DEFAULT_CHARSET;
    wcscpy(log.lfFaceName, L"MS Shell Dlg");
    return log;
}

}  // namespace

Font::Font() : m_impl(std::make_shared<const Impl>(DialogFont())) {}

int Font::GetWeight() const {
    return m_impl->log.lfWeight == 0 ? FW_NORMAL : static_cast<int>(m_impl->log.lfWeight);
}

void Font::SetWeight(int weight) {
    LOGFONTW log = m_impl->log;
    log.lfWeight = weight;
    m_impl = std::make_shared<const Impl>(log);
}

bool Font::IsBold() const {
    return GetWeight() > 500;
}

SIZE Font::GetTextExtent(std::u16string_view text) const {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, m_impl->font);
    ::SIZE size{};
    GetTextExtentPoint32W(screen, reinterpret_cast<const wchar_t*>(text.data()),
                          static_cast<int>(text.size()), &size);
    if (text.empty()) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen, &metrics);
        size.cy = metrics.tmHeight;
    }
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

bool operator==(const Font& a, const Font& b) {
    const LOGFONTW& x = a.m_impl->log;
    const LOGFONTW& y = b.m_impl->log;
    return x.lfHeight == y.lfHeight && x.lfWeight == y.lfWeight && x.lfItalic == y.lfItalic &&
           x.lfUnderline == y.lfUnderline && std::wcscmp(x.lfFaceName, y.lfFaceName) == 0;
}

namespace win32 {

Font FromHFont(HFONT font) {
    LOGFONTW log{};
    if (font == nullptr || GetObjectW(font, sizeof log, &log) == 0) return Font();
    return Font(std::make_shared<const Font::Impl>(log));
}

}  // namespace win32
}  // namespace ui
