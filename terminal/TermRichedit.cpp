#include "terminal/TermRichedit.h"

#include <algorithm>
#include <string>

#include "protocol/TextConversion.h"

namespace {

constexpr int kMaxInsertRetries = 10;
// A typed character is echoed as at most a surrogate pair.
constexpr long kLongestEcho = 2;

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The control counts a CR LF pair as one character, like a lone CR or LF.
long ControlLength(std::u16string_view text) {
    long length = static_cast<long>(text.size());
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i - 1] == u'\r' && text[i] == u'\n') --length;
    }
    return length;
}

// The end of `text` that the control can hold: a text longer than the limit
// shows its newest characters. The cut never leaves half a surrogate pair.
std::u16string_view NewestPart(std::u16string_view text, long limit) {
    std::size_t start = 0;
    long length = ControlLength(text);
    while (length > limit) {
        const bool pair = text[start] == u'\r' && start + 1 < text.size() && text[start + 1] == u'\n';
        start += pair ? 2 : 1;
        --length;
    }
    if (start < text.size() && IsLowSurrogate(text[start])) ++start;
    return text.substr(start);
}

std::u16string WithoutNuls(std::u16string text) {
    std::erase(text, u'\0');
    return text;
}

}  // namespace

TermRichedit::TermRichedit() : m_channel(new CSerialportMP(m_executor.IoContext())) {
    using namespace std::placeholders;
    m_channel->m_readCallback = std::bind(&TermRichedit::OnRead, this, _1, _2, _3, _4);
    m_channel->m_writeCallback = std::bind(&TermRichedit::OnWrite, this, _1, _2, _3);
    MapMessage(WM_RX_DATA, &TermRichedit::OnRxData);
    MapKeyDown(&TermRichedit::OnKeyDown);
    MapChar(&TermRichedit::OnChar);
    MapReflect(ui::EN_MAXTEXT, &TermRichedit::OnMaxText);
    MapMessage(ui::WM_PASTE, &TermRichedit::OnPaste);
}

TermRichedit::~TermRichedit() {
    if (m_channel->IsOpen()) {
        m_channel->Close();
        m_executor.Stop();
    }
    m_onError = nullptr;
    m_channel.reset();
}

void TermRichedit::SetupView() {
    SetUndoLimit(0);
    m_textLimit = GetLimitText();
    ShowScrollBar(ui::SB_VERT, true);
    SetBackgroundColor(kBackgroundColor);
    SetTextColor(kTextColor);
    SetInputMethodHandlers([this](std::u16string_view result) { OnInputMethodResult(result); },
                           [this] { PlaceCaretAtEnd(); });
}

void TermRichedit::OnInputMethodResult(std::u16string_view result) {
    if (!m_channel->IsOpen()) return;
    std::string bytes;
    ToUtf8(result, bytes);
    m_channel->Write(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<unsigned>(bytes.size()));
}

void TermRichedit::OnRead(const std::shared_ptr<CSerialportMP>& /*channel*/, std::error_code& error,
                          const std::vector<uint8_t>& data, unsigned count) {
    std::lock_guard<std::mutex> lock(m_rxMutex);
    if (!error) {
        m_rxPending.insert(m_rxPending.end(), data.begin(), data.begin() + count);
        // One message on its way is enough: it shows everything pending. A
        // message per read would flood the window thread's queue and starve
        // its timers while data streams in.
        if (!m_rxNotified) m_rxNotified = PostMessage(WM_RX_DATA, 0, 0);
    } else if (m_onError) {
        m_onError(this, error);
    }
}

void TermRichedit::OnWrite(const std::shared_ptr<CSerialportMP>& /*channel*/, std::error_code& error,
                           unsigned /*count*/) {
    if (error && m_onError) m_onError(this, error);
}

ui::LRESULT TermRichedit::OnRxData(ui::WPARAM, ui::LPARAM) {
    std::lock_guard<std::mutex> lock(m_rxMutex);
    m_rxNotified = false;
    if (m_rxPending.empty()) return 0;
    std::vector<uint8_t> bytes;
    bytes.swap(m_rxPending);
    ShowReceived(WithoutNuls(m_decoder.Decode(bytes.data(), bytes.size())));
    return 0;
}

void TermRichedit::ShowReceived(std::u16string text) {
    if (text.empty()) return;
    const bool endsWithCR = text.back() == u'\r';
    std::u16string_view shown = text;
    if (m_lastShownCR && shown.front() == u'\n') shown.remove_prefix(1);
    AppendText(shown);
    m_lastShownCR = endsWithCR;
}

void TermRichedit::ClearView() {
    {
        std::lock_guard<std::mutex> lock(m_rxMutex);
        m_rxPending.clear();
        // A message still on its way finds nothing; one that was dropped with
        // an earlier window must not keep the next reads from being shown.
        m_rxNotified = false;
        m_decoder.Reset();
    }
    m_lastShownCR = false;
    SetRedraw(false);
    SetSel(0, -1);
    ReplaceSel(u"");
    SetRedraw(true);
    Invalidate(true);
}

bool TermRichedit::IsAtEnd() const {
    ui::SCROLLINFO info;
    return GetScrollInfo(ui::SB_VERT, info) && info.nPos >= info.nMax - static_cast<int>(info.nPage) + 1;
}

void TermRichedit::AppendText(std::u16string_view text) {
    if (text.empty()) return;
    Selection sel;
    GetSel(sel.start, sel.end);
    const long pos = GetTextLength();

    if (IsAtEnd()) {
        InsertAndTrim(pos, text, sel);
        // This control does not scroll to the caret by itself.
        ScrollToBottom();
        return;
    }
    // The user scrolled back: keep the selection, but show the newest text.
    const bool visible = IsWindowVisible();
    m_updating = true;
    if (visible) SetRedraw(false);
    InsertAndTrim(pos, text, sel);
    SetSel(sel.start, sel.end);
    ScrollToBottom();
    m_updating = false;
    if (visible) {
        SetRedraw(true);
        Invalidate(true);
        SetSel(-1, -1);
    }
}

void TermRichedit::InsertAndTrim(long pos, std::u16string_view text, Selection& sel) {
    text = NewestPart(text, m_textLimit);
    const long n = ControlLength(text);
    if (pos + n >= m_textLimit) {
        bool wasUpdating = false;
        BeginQuietUpdate(wasUpdating);
        DeleteLeadingLines(n, sel);
        pos = GetTextLength();
        EndQuietUpdate(wasUpdating);
    }
    InsertAt(pos, text);
    if (!m_overflow) return;

    bool wasUpdating = false;
    BeginQuietUpdate(wasUpdating);
    for (int attempt = 0; attempt < kMaxInsertRetries && m_overflow && pos > 0; ++attempt) {
        SetSel(pos, -1);
        ReplaceSel(u"");
        DeleteFirstLine(sel);
        pos = GetTextLength();
        InsertAt(pos, text);
    }
    EndQuietUpdate(wasUpdating);
}

// Deletes whole lines from the top until `keepRoom` more characters fit
// within the limit, or the view is empty. The lines go in one deletion: the
// result is the same as deleting them one by one, at a fraction of the cost.
void TermRichedit::DeleteLeadingLines(long keepRoom, Selection& sel) {
    const long length = GetTextLength();
    long cut = 0;
    while (cut < length && length - cut + keepRoom > m_textLimit) {
        cut = std::min(length, cut + LineLength(cut) + 1);
    }
    DeleteTop(cut, sel);
}

void TermRichedit::DeleteFirstLine(Selection& sel) {
    DeleteTop(std::min(GetTextLength(), static_cast<long>(LineLength(0)) + 1), sel);
}

void TermRichedit::DeleteTop(long count, Selection& sel) {
    if (count == 0) return;
    SetSel(0, count);
    ReplaceSel(u"");
    sel.start = std::max(0L, sel.start - count);
    sel.end = std::max(0L, sel.end - count);
}

void TermRichedit::InsertAt(long pos, std::u16string_view text) {
    m_overflow = false;
    SetSel(pos, pos);
    SetTextColor(kTextColor);
    ReplaceSel(text, false);
}

void TermRichedit::BeginQuietUpdate(bool& wasUpdating) {
    wasUpdating = m_updating;
    m_updating = true;
    if (IsWindowVisible()) SetRedraw(false);
}

void TermRichedit::EndQuietUpdate(bool wasUpdating) {
    m_updating = wasUpdating;
    if (IsWindowVisible() && !wasUpdating) {
        SetRedraw(true);
        Invalidate(true);
    }
}

ui::LRESULT TermRichedit::OnPaste(ui::WPARAM, ui::LPARAM) {
    return 1;
}

void TermRichedit::OnMaxText() {
    m_overflow = true;
}

// The control's echo of a typed character would be refused by a full view;
// the oldest lines make room, as for received text.
void TermRichedit::MakeRoomForEcho() {
    const long length = GetTextLength();
    if (length + kLongestEcho <= m_textLimit) return;
    Selection sel;
    bool wasUpdating = false;
    BeginQuietUpdate(wasUpdating);
    DeleteLeadingLines(kLongestEcho, sel);
    const long end = GetTextLength();
    SetSel(end, end);
    EndQuietUpdate(wasUpdating);
}

void TermRichedit::PlaceCaretAtEnd() {
    long start = 0;
    long end = 0;
    GetSel(start, end);
    const long length = GetTextLength();
    if (start != end || start != length) SetSel(length, length);
}

bool TermRichedit::OnKeyDown(ui::UINT vk) {
    PlaceCaretAtEnd();
    switch (vk) {
        case ui::VK_BACK:
        case ui::VK_DELETE:
        case ui::VK_LEFT:
        case ui::VK_UP:
        case ui::VK_RIGHT:
        case ui::VK_DOWN:
            return true;
        default:
            return false;
    }
}

bool TermRichedit::TakeTypedUnit(char16_t unit, std::string& bytes) {
    // A character outside the Basic Multilingual Plane comes as two WM_CHAR
    // units; converting each half alone would send two U+FFFD instead of it.
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high) {
        m_typedHighSurrogate = unit;
        return false;
    }
    std::u16string units;
    if (low && m_typedHighSurrogate != 0) units += m_typedHighSurrogate;
    units += unit;
    m_typedHighSurrogate = 0;
    ToUtf8(units, bytes);
    return true;
}

bool TermRichedit::OnChar(char16_t unit) {
    if (!m_channel || !m_channel->IsOpen()) return true;
    if (unit == u'\b') return true;

    std::string bytes;
    if (unit == u'\r') {
        if (m_lineEndCR) bytes += '\r';
        if (m_lineEndLF) bytes += '\n';
        if (bytes.empty()) return true;
        // Enter shows exactly one line break, whatever the line end sent.
        AppendText(u"\r\n");
    } else if (!TakeTypedUnit(unit, bytes)) {
        return false;
    } else {
        MakeRoomForEcho();
    }
    m_lastShownCR = false;
    m_channel->Write(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<unsigned>(bytes.size()));
    // Any other character is echoed by the control's own processing.
    return unit == u'\r';
}
