#include "terminal/TermRichedit.h"

#include <algorithm>
#include <string>

#include "protocol/TextConversion.h"

namespace {

constexpr int kMaxInsertRetries = 10;
// Received text is inserted at most once per frame of the display: a flood
// costs one insertion and one layout per frame instead of one per read.
constexpr std::chrono::milliseconds kFrame{16};
constexpr ui::UINT kFrameTimer = 1;
// A typed character is echoed as at most a surrogate pair.
constexpr long kLongestEcho = 2;
// Received text goes in this many units at a time, with input handled
// between the pieces: a whole view inserted at once keeps a click waiting
// for a large part of a second under Wine.
constexpr std::size_t kPieceUnits = 4096;
// While the port brings more than a view between two frames, what a frame
// shows is replaced at the next: a smaller piece keeps those frames short,
// and the next frame has less to delete.
constexpr std::size_t kFloodPieceUnits = 1024;
// While flooded, frames come this far apart: each is replaced unread, and the
// window thread's work between them slows the reading of the port itself
// (under Wine, every call to its server waits behind the reader's).
constexpr std::chrono::milliseconds kFloodFrame{250};
// A frame goes on with the next piece at once while it has run shorter than
// this: a timer between pieces costs a scheduling tick, and input waits at
// most this long plus one piece.
constexpr std::chrono::milliseconds kFrameBudget{12};

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

// A character takes at most three bytes for each unit the view counts (CR LF
// takes two for one), so the last this many bytes of a batch per unit of the
// limit give more than a full view, unless they hold NUL bytes, which show
// nothing.
constexpr std::size_t kBytesPerShownUnit = 4;

// Where the decoding of a batch may start when only its newest `limit`
// characters can stay: past the first line break of its end part, where no
// character is cut; 0 for a batch that is not far longer than the view.
std::size_t NewestLinesStart(const std::vector<uint8_t>& bytes, long limit) {
    const std::size_t enough = kBytesPerShownUnit * static_cast<std::size_t>(limit);
    if (bytes.size() <= enough) return 0;
    const auto lineFeed = std::find(bytes.end() - static_cast<std::ptrdiff_t>(enough), bytes.end(), '\n');
    return lineFeed == bytes.end() ? 0 : static_cast<std::size_t>(lineFeed - bytes.begin()) + 1;
}

}  // namespace

TermRichedit::TermRichedit() : m_channel(new CSerialportMP(m_executor.IoContext())) {
    using namespace std::placeholders;
    m_channel->m_readCallback = std::bind(&TermRichedit::OnRead, this, _1, _2, _3, _4);
    m_channel->m_writeCallback = std::bind(&TermRichedit::OnWrite, this, _1, _2, _3);
    MapMessage(WM_RX_DATA, &TermRichedit::OnRxData);
    MapTimer(&TermRichedit::OnTimer);
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
    ShowPending(true);
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

// The text is never shown from here: Windows hands out posted messages before
// input, and a reader that posts again while a long insertion runs would keep
// the window thread in insertions back to back. A timer comes after input.
ui::LRESULT TermRichedit::OnRxData(ui::WPARAM, ui::LPARAM) {
    const auto sinceShown = std::chrono::steady_clock::now() - m_lastShown;
    ScheduleFrame(std::chrono::ceil<std::chrono::milliseconds>(kFrame - sinceShown));
    return 0;
}

void TermRichedit::OnTimer(ui::UINT id) {
    if (id != kFrameTimer) return;
    KillTimer(kFrameTimer);
    ShowPending(false);
}

void TermRichedit::ShowPending(bool all) {
    const auto start = std::chrono::steady_clock::now();
    TakePending();
    if (!all && m_flooded && start - m_lastFloodShown < kFloodFrame) {
        // Taken, not shown: the next frame shows the flood's end as soon as
        // it comes.
        ScheduleFrame(kFrame);
        return;
    }
    if (m_unshown.empty()) return;
    if (m_flooded) m_lastFloodShown = start;
    // The pieces of a frame are drawn once: under Wine, drawing and scrolling
    // after each piece cost more than inserting it. Whether the view is at
    // its end is asked first: with redraw off the control does not say.
    const bool atEnd = IsAtEnd();
    bool wasUpdating = false;
    if (atEnd) BeginQuietUpdate(wasUpdating);
    do {
        std::size_t n =
            all ? m_unshown.size() : std::min(m_unshown.size(), m_flooded ? kFloodPieceUnits : kPieceUnits);
        if (n < m_unshown.size() && IsLowSurrogate(m_unshown[n])) --n;
        if (m_replaceView) {
            m_replaceView = false;
            ReplaceView(std::u16string_view(m_unshown).substr(0, n));
        } else {
            ShowReceived(m_unshown.substr(0, n), atEnd);
        }
        m_unshown.erase(0, n);
    } while (!m_flooded && !m_unshown.empty() && std::chrono::steady_clock::now() - start < kFrameBudget);
    if (atEnd) EndQuietUpdate(wasUpdating);
    if (!m_unshown.empty()) ScheduleFrame(m_flooded ? kFrame : std::chrono::milliseconds(1));
}

// Without a timer, what is pending is shown at once rather than left unseen.
void TermRichedit::ScheduleFrame(std::chrono::milliseconds wait) {
    if (!SetTimer(kFrameTimer, static_cast<ui::UINT>(std::max<long long>(wait.count(), 1))))
        ShowPending(true);
}

void TermRichedit::TakePending() {
    std::vector<uint8_t> bytes;
    {
        // Released before the text is shown, so that the port is read on
        // while the window thread draws.
        std::lock_guard<std::mutex> lock(m_rxMutex);
        m_rxNotified = false;
        bytes.swap(m_rxPending);
    }
    m_flooded = false;
    if (bytes.empty()) return;
    m_lastShown = std::chrono::steady_clock::now();
    m_unshown += DecodeShown(bytes);
    if (ControlLength(m_unshown) >= m_textLimit) {
        // Everything shown now goes once these pieces are in: it goes at
        // once, and the pieces fill the view exactly.
        m_unshown = std::u16string(NewestPart(m_unshown, m_textLimit));
        m_lastShownCR = false;
        m_flooded = true;
        m_replaceView = true;
    }
}

// A batch far longer than the view is decoded from a line start near its
// end: what comes before would be deleted at once, and decoding it would make
// every frame of a flood cost more the faster the port is read.
std::u16string TermRichedit::DecodeShown(const std::vector<uint8_t>& bytes) {
    if (const std::size_t start = NewestLinesStart(bytes, m_textLimit); start > 0) {
        Utf8StreamDecoder decoder;
        std::u16string text = WithoutNuls(decoder.Decode(bytes.data() + start, bytes.size() - start));
        if (ControlLength(text) >= m_textLimit) {
            m_decoder = decoder;
            m_lastShownCR = false;
            return text;
        }
    }
    return WithoutNuls(m_decoder.Decode(bytes.data(), bytes.size()));
}

void TermRichedit::ShowReceived(std::u16string text, bool atEnd) {
    if (text.empty()) return;
    const bool endsWithCR = text.back() == u'\r';
    std::u16string_view shown = text;
    if (m_lastShownCR && shown.front() == u'\n') shown.remove_prefix(1);
    AppendText(shown, atEnd);
    m_lastShownCR = endsWithCR;
}

// One replacement instead of an emptying and an insertion: the view is drawn
// off and on once.
void TermRichedit::ReplaceView(std::u16string_view text) {
    bool wasUpdating = false;
    BeginQuietUpdate(wasUpdating);
    SetSel(0, -1);
    ReplaceSel(text);
    ScrollToBottom();
    EndQuietUpdate(wasUpdating);
    m_lastShownCR = text.back() == u'\r';
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
    m_unshown.clear();
    m_lastShownCR = false;
    m_flooded = false;
    m_replaceView = false;
    EmptyText();
}

void TermRichedit::EmptyText() {
    SetRedraw(false);
    SetSel(0, -1);
    ReplaceSel(u"");
    SetRedraw(true);
    Invalidate(true);
}

bool TermRichedit::IsAtEnd() const {
    ui::SCROLLINFO info;
    // Wine's rich edit stops one unit (a pixel) short of the end a Windows
    // scroll bar has, nMax - nPage + 1: without the slack its view never
    // counts as at the end, and every insertion takes the slower path of a
    // view the user scrolled back.
    return GetScrollInfo(ui::SB_VERT, info) && info.nPos >= info.nMax - static_cast<int>(info.nPage);
}

void TermRichedit::AppendText(std::u16string_view text) {
    AppendText(text, IsAtEnd());
}

void TermRichedit::AppendText(std::u16string_view text, bool atEnd) {
    if (text.empty()) return;
    Selection sel;
    GetSel(sel.start, sel.end);
    const long pos = GetTextLength();

    if (atEnd) {
        // Drawn once afterwards, when the window thread has nothing more
        // urgent: a control that draws each insertion at once keeps input
        // waiting while a stream comes in.
        bool wasUpdating = false;
        BeginQuietUpdate(wasUpdating);
        InsertAndTrim(pos, text, sel);
        // This control does not scroll to the caret by itself.
        ScrollToBottom();
        EndQuietUpdate(wasUpdating);
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
// within the limit, or the view is empty: everything before the first line
// that starts at or after the excess, found and deleted in one step.
void TermRichedit::DeleteLeadingLines(long keepRoom, Selection& sel) {
    const long length = GetTextLength();
    const long excess = length + keepRoom - m_textLimit;
    if (excess <= 0) return;
    const int line = LineFromChar(excess);
    long cut = LineIndex(line);
    if (cut < excess) {
        const long next = LineIndex(line + 1);
        cut = next < 0 ? length : next;
    }
    DeleteTop(std::min(cut, length), sel);
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
    // The insertion colour stays the one SetupView chose. Setting it again
    // changes the default format, which Wine's rich edit answers with a new
    // layout of the whole text: a piece took longer the fuller the view.
    ReplaceSel(text, false);
}

void TermRichedit::BeginQuietUpdate(bool& wasUpdating) {
    wasUpdating = m_updating;
    m_updating = true;
    if (!wasUpdating && IsWindowVisible()) {
        SetRedraw(false);
        m_redrawOff = true;
    }
}

// Whether redraw goes on again is remembered, not asked of the window: on
// Windows, turning redraw off also hides the window, so that a view asked
// whether it is visible would stay hidden and never be drawn again.
void TermRichedit::EndQuietUpdate(bool wasUpdating) {
    m_updating = wasUpdating;
    if (!wasUpdating && m_redrawOff) {
        m_redrawOff = false;
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
    // Text that arrived before the key comes before its echo, not at the next
    // frame after it.
    ShowPending(true);

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
