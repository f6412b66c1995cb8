#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/RichEditCtrl.h"

#include <imm.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/win32/SendNative.h"
#include "platform/win32/Wide.h"

namespace ui {
namespace {

using win32::SendNative;

constexpr LPARAM kResultFlags = GCS_RESULTSTR | GCS_RESULTREADSTR | GCS_RESULTCLAUSE | GCS_RESULTREADCLAUSE;
// How much text a search for a line break reads at a time.
constexpr long kChunk = 256;

// CR, LF and CR LF each become the control's one line break character, CR.
std::u16string NormalizeBreaks(std::u16string_view text) {
    std::u16string normal;
    normal.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' || text[i] == u'\r') {
            normal.push_back(u'\r');
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else {
            normal.push_back(text[i]);
        }
    }
    return normal;
}

CHARRANGE Selection(const Window& window) {
    CHARRANGE range{};
    SendNative(window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

std::u16string TextRange(const Window& window, long start, long end) {
    std::u16string text(static_cast<std::size_t>(end - start) + 1, u'\0');
    TEXTRANGEW range{{start, end}, reinterpret_cast<LPWSTR>(text.data())};
    const auto copied = SendNative(window, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
    return text;
}

// The start of the paragraph holding `charIndex`: after the nearest line
// break before it. Reads only that paragraph.
long ParagraphStart(const Window& window, long charIndex) {
    for (long end = charIndex; end > 0;) {
        const long start = std::max(0L, end - kChunk);
        const std::u16string text = TextRange(window, start, end);
        const auto found = text.rfind(u'\r');
        if (found != std::u16string::npos) return start + static_cast<long>(found) + 1;
        end = start;
    }
    return 0;
}

long ParagraphEnd(const Window& window, long charIndex, long length) {
    for (long start = charIndex; start < length;) {
        const long end = std::min(length, start + kChunk);
        const std::u16string text = TextRange(window, start, end);
        const auto found = text.find(u'\r');
        if (found != std::u16string::npos) return start + static_cast<long>(found);
        start = end;
    }
    return length;
}

CHARFORMAT2W ColorFormat(COLORREF color) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.crTextColor = color;
    return format;
}

// What the input-method handlers need between messages.
struct Composition {
    std::function<void(std::u16string_view)> onResult;
    std::function<void()> onComposing;
    // Whether the control shows a composition now.
    bool shown = false;
};

std::u16string CompositionString(HWND hwnd, DWORD index) {
    HIMC context = ImmGetContext(hwnd);
    if (context == nullptr) return {};
    const LONG bytes = ImmGetCompositionStringW(context, index, nullptr, 0);
    std::u16string text(bytes > 0 ? static_cast<std::size_t>(bytes) / sizeof(char16_t) : 0, u'\0');
    if (!text.empty()) ImmGetCompositionStringW(context, index, text.data(), static_cast<DWORD>(bytes));
    ImmReleaseContext(hwnd, context);
    return text;
}

}  // namespace

long RichEditCtrl::GetLimitText() const {
    if (HwndOf(*this) == nullptr) return kDefaultLimit;
    return static_cast<long>(SendNative(*this, EM_GETLIMITTEXT));
}

void RichEditCtrl::LimitText(long limit) {
    SendNative(*this, EM_EXLIMITTEXT, 0, limit);
}

long RichEditCtrl::GetTextLength() const {
    GETTEXTLENGTHEX how{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<long>(SendNative(*this, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how)));
}

void RichEditCtrl::SetSel(long start, long end) {
    CHARRANGE range{-1, -1};
    if (start >= 0) {
        const long length = GetTextLength();
        range.cpMin = std::min(start, length);
        range.cpMax = end < 0 || end > length ? length : end;
    }
    SendNative(*this, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void RichEditCtrl::GetSel(long& start, long& end) const {
    if (HwndOf(*this) == nullptr) return;
    const CHARRANGE range = Selection(*this);
    start = range.cpMin;
    end = range.cpMax;
}

void RichEditCtrl::ReplaceSel(std::u16string_view text, bool) {
    if (HwndOf(*this) == nullptr) return;
    std::u16string insert = NormalizeBreaks(text);
    const CHARRANGE selection = Selection(*this);
    const long kept = GetTextLength() - (selection.cpMax - selection.cpMin);
    const auto room = static_cast<std::size_t>(std::max(0L, GetLimitText() - kept));
    const bool overflow = insert.size() > room;
    if (overflow) {
        std::size_t fits = room;
        if (fits > 0 && insert[fits - 1] >= 0xD800 && insert[fits - 1] <= 0xDBFF) --fits;
        insert.resize(fits);
    }
    // Inserted text would take the format of the text before it otherwise.
    CHARFORMAT2W format = ColorFormat(0);
    SendNative(*this, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    format.dwMask = CFM_COLOR;
    SendNative(*this, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    SendNative(*this, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(win32::Wide(insert)));
    if (overflow) {
        HWND hwnd = HwndOf(*this);
        // The way the control's own notifications go: the dialog offers it to
        // the control's reflection first.
        SendMessageW(::GetParent(hwnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hwnd), EN_MAXTEXT),
                     reinterpret_cast<LPARAM>(hwnd));
    }
}

// The control's own lines are display lines, which a long line wraps into;
// the line a caller deletes with its break is the text between breaks.
int RichEditCtrl::LineLength(long charIndex) const {
    if (HwndOf(*this) == nullptr) return 0;
    const long length = GetTextLength();
    const long at = charIndex < 0 ? Selection(*this).cpMax : std::min(charIndex, length);
    return static_cast<int>(ParagraphEnd(*this, at, length) - ParagraphStart(*this, at));
}

int RichEditCtrl::GetLineCount() const {
    return static_cast<int>(SendNative(*this, EM_GETLINECOUNT));
}

int RichEditCtrl::LineFromChar(long charIndex) const {
    const long at = charIndex < 0 ? Selection(*this).cpMax : std::min(charIndex, GetTextLength());
    return static_cast<int>(SendNative(*this, EM_EXLINEFROMCHAR, 0, at));
}

long RichEditCtrl::LineIndex(int line) const {
    if (HwndOf(*this) == nullptr) return -1;
    if (line < 0) line = LineFromChar(-1);
    return static_cast<long>(SendNative(*this, EM_LINEINDEX, static_cast<WPARAM>(line)));
}

bool RichEditCtrl::GetScrollInfo(int bar, SCROLLINFO& info) const {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr || bar != SB_VERT) return false;
    ::SCROLLINFO native{};
    native.cbSize = sizeof(native);
    native.fMask = SIF_ALL;
    if (!::GetScrollInfo(hwnd, SB_VERT, &native)) return false;
    info.nMin = native.nMin;
    info.nMax = native.nMax;
    info.nPage = native.nPage;
    info.nPos = native.nPos;
    return true;
}

void RichEditCtrl::ScrollToBottom() {
    SendNative(*this, WM_VSCROLL, SB_BOTTOM);
}

void RichEditCtrl::ShowScrollBar(int bar, bool show) {
    SendNative(*this, EM_SHOWSCROLLBAR, static_cast<WPARAM>(bar), show ? TRUE : FALSE);
}

void RichEditCtrl::SetUndoLimit(int) {
    SendNative(*this, EM_SETUNDOLIMIT, 0);
}

void RichEditCtrl::SetBackgroundColor(COLORREF color) {
    SendNative(*this, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(color));
}

void RichEditCtrl::SetTextColor(COLORREF color) {
    CHARFORMAT2W format = ColorFormat(color);
    SendNative(*this, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendNative(*this, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void RichEditCtrl::SetInputMethodHandlers(std::function<void(std::u16string_view)> onResult,
                                          std::function<void()> onComposing) {
    auto state = std::make_shared<Composition>(Composition{std::move(onResult), std::move(onComposing)});
    WindowAccess::AddMessage(*this, WM_IME_COMPOSITION, [this, state](WPARAM wParam, LPARAM lParam) {
        HWND hwnd = HwndOf(*this);
        if ((lParam & (GCS_RESULTSTR | GCS_COMPSTR)) != 0) state->onComposing();
        if ((lParam & GCS_RESULTSTR) != 0) {
            std::u16string result = CompositionString(hwnd, GCS_RESULTSTR);
            // The message itself carries the result's last unit.
            if (result.empty() && wParam != 0) result.push_back(static_cast<char16_t>(wParam));
            if (!result.empty()) state->onResult(result);
        }
        // The control gets the composition alone; without one it removes the
        // composition it shows, and the result is never inserted.
        const bool composing = (lParam & GCS_COMPSTR) != 0;
        if (composing || state->shown)
            DefSubclassProc(hwnd, WM_IME_COMPOSITION, wParam, lParam & ~kResultFlags);
        state->shown = composing && !CompositionString(hwnd, GCS_COMPSTR).empty();
        return LRESULT{0};
    });
}

}  // namespace ui
