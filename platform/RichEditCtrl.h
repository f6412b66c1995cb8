#pragma once

// A rich edit control (class RichEdit20W) as the terminal view uses it: plain
// text with one colour, positions counted in UTF-16 units with every line
// break (CR, LF or CR LF in inserted text) as one character, a text limit,
// no undo. Text typed by the user goes through the same limit as ReplaceSel.

#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/Window.h"

namespace ui {

struct SCROLLINFO {
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
};

class RichEditCtrl : public Window {
public:
    static constexpr long kDefaultLimit = 32767;

    long GetLimitText() const;  // kDefaultLimit unless changed
    void LimitText(long limit);
    long GetTextLength() const;
    // SetWindowText replaces the whole text (no limit check, no notification);
    // GetWindowText gives every line break as CR LF.

    // Selection: (0, -1) selects everything, end -1 means the end of the text,
    // start -1 removes the selection and leaves the caret where it is.
    void SetSel(long start, long end);
    void GetSel(long& start, long& end) const;
    // Replaces the selection by `text` in the current insertion colour and
    // leaves the caret after it. When the result would exceed the limit, only
    // what fits is inserted (never half a surrogate pair) and EN_MAXTEXT is
    // sent to the control itself (reflected; the parent gets it when the
    // control does not map it). `canUndo` is ignored: the control keeps no undo.
    void ReplaceSel(std::u16string_view text, bool canUndo = false);
    // The length of the line that holds character `charIndex` (-1: the
    // caret's line), without its line break.
    int LineLength(long charIndex = -1) const;
    int GetLineCount() const;

    // The vertical scroll information (bar SB_VERT) as Windows gives it:
    // the view is at its end when nPos >= nMax - nPage + 1. False for any
    // other bar.
    bool GetScrollInfo(int bar, SCROLLINFO& info) const;
    // As WM_VSCROLL with SB_BOTTOM.
    void ScrollToBottom();
    void ShowScrollBar(int bar, bool show = true);

    // No undo is kept whatever the limit; accepted so that set-up code reads
    // as on Windows.
    void SetUndoLimit(int limit);
    void SetBackgroundColor(COLORREF color);
    // The colour of text inserted from now on (the default character format
    // and the selection's format are one colour in this control).
    void SetTextColor(COLORREF color);
    // Input-method composition: the text being composed shows in the
    // control, but a composed result is not inserted; it goes to `onResult`.
    // `onComposing` runs first whenever a composition or a result arrives.
    // Replaces the handlers set before; lasts as long as the window.
    void SetInputMethodHandlers(std::function<void(std::u16string_view)> onResult,
                                std::function<void()> onComposing);

protected:
    bool CanAttachTo(const res::ControlTemplate& control) const override {
        return control.cls == res::ControlClass::RichEdit;
    }
};

}  // namespace ui
