#include "terminal/CHistoryCombo.h"

namespace {

std::u16string_view TrimSpaces(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

CHistoryCombo::CHistoryCombo() {
    MapReflect(ui::CBN_EDITUPDATE, &CHistoryCombo::OnEditUpdate);
}

void CHistoryCombo::SaveCurrent() {
    const std::u16string text = GetWindowText();
    if (!text.empty()) AddToHistory(text);
}

int CHistoryCombo::AddToHistory(std::u16string_view text) {
    const std::u16string_view entry = TrimSpaces(text);
    if (InsertString(0, entry) == ui::CB_ERR) return ui::CB_ERR;
    for (int i = 1; i < GetCount(); ++i) {
        if (GetLBText(i) == entry) {
            DeleteString(i);
            break;
        }
    }
    while (GetCount() > m_maxHistory)
        DeleteString(m_maxHistory);
    return SetCurSel(0);
}

int CHistoryCombo::FindPrefix(std::u16string_view text) {
    for (int i = 0; i < GetCount(); ++i) {
        if (GetLBText(i).compare(0, text.size(), text) == 0) {
            SetCurSel(i);
            return i;
        }
    }
    return -1;
}

void CHistoryCombo::OnEditUpdate() {
    if (!m_autoComplete || !m_completeNext) return;
    const std::u16string typed = GetWindowText();
    const int n = static_cast<int>(typed.size());
    const std::uint32_t sel = GetEditSel();
    const bool haveSel = sel != static_cast<std::uint32_t>(ui::CB_ERR);
    const int start = static_cast<int>(ui::LOWORD(sel));
    const int end = static_cast<int>(ui::HIWORD(sel));

    if (FindPrefix(typed) == -1) {
        SetWindowText(typed);
        if (haveSel) SetEditSel(start, end);
    }
    // A caret inside the typed text stays where it was; otherwise the
    // completed part is selected so that the next character replaces it.
    if (haveSel && end < n) {
        SetEditSel(start, end);
    } else {
        SetEditSel(n, -1);
    }
}

bool CHistoryCombo::PreTranslateMessage(const ui::MSG& msg) {
    if (m_autoComplete && msg.message == ui::WM_KEYDOWN) {
        // Deleting a completion must not bring it back at once.
        m_completeNext = msg.wParam != ui::VK_DELETE && msg.wParam != ui::VK_BACK;
        if (msg.wParam == ui::VK_RETURN) {
            ui::Window* owner = GetParent();
            if (owner != nullptr && owner->IsWindow()) {
                owner->PostMessage(WM_HISTORY_ENTER, 0, reinterpret_cast<ui::LPARAM>(this));
            }
        }
    }
    return ui::ComboBox::PreTranslateMessage(msg);
}
