#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/RichEditCtrl.h"
#include "serial/CSerialportMP.h"
#include "serial/IoServiceExec.h"
#include "terminal/Utf8StreamDecoder.h"

// The terminal's screen and keyboard. It owns the terminal's serial channel
// and the executor that runs it; the page opens and closes them. Received
// bytes are shown as UTF-8 text, white on black, always scrolled to the newest
// text, and the oldest lines go when the text limit is reached. Typed keys go
// to the port at once; Enter sends the configured line end.
//
// Threads: everything runs on the window thread except OnRead and OnWrite,
// which run on the executor's one worker and reach the window only by posting
// WM_RX_DATA or through m_onError.
class TermRichedit : public ui::RichEditCtrl {
public:
    // Posted by OnRead when bytes arrive and no such message is on its way;
    // carries nothing but the hint that m_rxPending may hold bytes.
    static constexpr ui::UINT WM_RX_DATA = ui::WM_APP + 0x8ae;
    static constexpr ui::COLORREF kTextColor = 0xFFFFFF;
    static constexpr ui::COLORREF kBackgroundColor = 0x000000;

    using ErrorCallback = std::function<void(const TermRichedit*, std::error_code&)>;

    TermRichedit();
    ~TermRichedit() override;

    // Prepares the control: no undo, the text limit, the scroll bar, the
    // colours. Runs once the control is bound to its window.
    void SetupView();
    // Appends `text` at the end, deleting whole lines from the top when the
    // limit needs it, and leaves the newest text in view. Empty text does
    // nothing.
    void AppendText(std::u16string_view text);
    // Empties the view and forgets every received byte not yet shown
    // (including a partly received character), so nothing from before a
    // close turns up afterwards.
    void ClearView();

    // The channel's callbacks (on the I/O thread).
    void OnRead(const std::shared_ptr<CSerialportMP>& channel, std::error_code& error,
                const std::vector<uint8_t>& data, unsigned count);
    void OnWrite(const std::shared_ptr<CSerialportMP>& channel, std::error_code& error, unsigned count);

    // Window thread only.
    bool m_lineEndCR = true;
    bool m_lineEndLF = false;

    IoServiceExec m_executor;
    std::shared_ptr<CSerialportMP> m_channel;
    // Called on the I/O thread with a read or write error; installed by the
    // page before the channel is opened.
    ErrorCallback m_onError;

private:
    struct Selection {
        long start = 0;
        long end = 0;
    };

    ui::LRESULT OnRxData(ui::WPARAM wParam, ui::LPARAM lParam);
    void OnTimer(ui::UINT id);
    // Takes every received byte, and shows the text not shown yet: all of it
    // with `all`, else pieces for a frame's budget, the rest at the next
    // timer. While more than a view comes per frame, a frame shows one small
    // piece, and only every so often.
    void ShowPending(bool all);
    // The frame timer, `wait` from now (at least 1 ms).
    void ScheduleFrame(std::chrono::milliseconds wait);
    // Takes every received byte into m_unshown, which keeps at most a view.
    void TakePending();
    // Typed text, and an input method's composition, always go at the end.
    void PlaceCaretAtEnd();
    bool OnKeyDown(ui::UINT vk);
    bool OnChar(char16_t unit);
    // Adds the UTF-8 bytes of a typed unit to `bytes`; false while the unit
    // is the first half of a surrogate pair, which waits for its second.
    bool TakeTypedUnit(char16_t unit, std::string& bytes);
    void OnMaxText();
    // Received text is never edited by the user: nothing is pasted into it.
    ui::LRESULT OnPaste(ui::WPARAM wParam, ui::LPARAM lParam);
    // The result of an input method goes to the port only: the terminal
    // shows what the device sends back. The composition before it is shown.
    void OnInputMethodResult(std::u16string_view result);

    std::u16string DecodeShown(const std::vector<uint8_t>& bytes);
    void EmptyText();
    void ShowReceived(std::u16string text, bool atEnd);
    // AppendText for a view that is, or is not, at its end.
    void AppendText(std::u16string_view text, bool atEnd);
    // Replaces the whole view by `text`, which fits in it.
    void ReplaceView(std::u16string_view text);
    void InsertAndTrim(long pos, std::u16string_view text, Selection& sel);
    void DeleteLeadingLines(long keepRoom, Selection& sel);
    void DeleteFirstLine(Selection& sel);
    // Deletes the first `count` characters and shifts `sel` with the text.
    void DeleteTop(long count, Selection& sel);
    void MakeRoomForEcho();
    void InsertAt(long pos, std::u16string_view text);
    void BeginQuietUpdate(bool& wasUpdating);
    void EndQuietUpdate(bool wasUpdating);
    bool IsAtEnd() const;

    long m_textLimit = kDefaultLimit;
    bool m_updating = false;
    // The outermost quiet update turned redraw off.
    bool m_redrawOff = false;
    bool m_overflow = false;
    // The last frame took more than a view: frames come slower, and each
    // shows one small piece.
    bool m_flooded = false;
    // The view's text goes before the next piece is shown: newer text fills
    // a whole view.
    bool m_replaceView = false;
    // The last received character shown was a CR: an LF that starts the next
    // batch completes that line break instead of making a second one.
    bool m_lastShownCR = false;
    char16_t m_typedHighSurrogate = 0;  // first half of a typed pair, until its second arrives

    // When the last insertion of received text began: what arrives within a
    // frame of it waits for the frame's end and goes in with what follows.
    std::chrono::steady_clock::time_point m_lastShown;
    // When a flooded frame was last shown.
    std::chrono::steady_clock::time_point m_lastFloodShown;

    // Received text taken but not shown yet: at most a view's worth.
    std::u16string m_unshown;

    std::mutex m_rxMutex;
    std::vector<uint8_t> m_rxPending;
    // A WM_RX_DATA is on its way, or the frame timer runs (guarded by
    // m_rxMutex): either shows what arrives until then.
    bool m_rxNotified = false;
    Utf8StreamDecoder m_decoder;
};
