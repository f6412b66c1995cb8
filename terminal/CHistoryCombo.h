#pragma once

#include <string>
#include <string_view>

#include "platform/ComboBox.h"

// Posted to the combo's owner when Enter is pressed in it: wParam 0, lParam
// the combo.
inline constexpr ui::UINT WM_HISTORY_ENTER = ui::WM_APP + 0xbc2;

// The terminal's input line: a drop-down combo whose list is the history of
// the lines sent, newest first, each line once, at most m_maxHistory. While
// the user types it completes the text from the history; Enter is reported to
// the owner. Entries compare by exact UTF-16 equality.
class CHistoryCombo : public ui::ComboBox {
public:
    CHistoryCombo();

    // Adds the edit field's text to the history unless it is empty.
    void SaveCurrent();
    // Stores `text` without leading and trailing spaces (U+0020 only) as the
    // newest entry, removes an older equal entry and the entries beyond
    // m_maxHistory, and selects it. Returns its index (0), or CB_ERR when the
    // list refused it.
    int AddToHistory(std::u16string_view text);
    // Selects the first entry that begins with `text` and returns its index,
    // or -1 when none does.
    int FindPrefix(std::u16string_view text);

    bool PreTranslateMessage(const ui::MSG& msg) override;

protected:
    void OnEditUpdate();

private:
    bool m_autoComplete = true;
    bool m_completeNext = true;
    int m_maxHistory = 10;
};
