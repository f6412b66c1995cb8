#include "platform/Dialog.h"

#include <utility>

#include "platform/DataExchange.h"
#include "platform/HookState.h"
#include "platform/WindowCore.h"

namespace ui {

const res::DialogTemplate* Dialog::Template() const {
    return m_template != nullptr ? m_template : res::FindDialog(m_templateId);
}

bool Dialog::Build(Window* parent, bool child) {
    const res::DialogTemplate* dialog = Template();
    if (dialog == nullptr || IsWindow()) return false;
    if (child) {
        if (parent == nullptr || !parent->IsWindow()) return false;
        return BuildWindow(*dialog, parent, true);
    }
    Window* owner = parent != nullptr ? parent : AfxGetMainWnd();
    const bool owned = owner != nullptr && owner != this && owner->IsWindow();
    return BuildWindow(*dialog, owned ? owner : nullptr, false);
}

int Dialog::DoModal() {
    if (!Build(m_owner, false)) return -1;
    ModalRun run;
    ModalRun* outer = std::exchange(m_run, &run);
    OnInitDialog();
    if (!run.ended && IsWindow()) {
        ShowModal();
        if (auto hook = detail::ModalHook()) hook(*this);
    }
    if (!run.ended && IsWindow()) RunModalLoop(run);
    m_run = outer;
    DestroyWindow();
    return run.result;
}

void Dialog::EndDialog(int result) {
    if (m_run == nullptr) return;
    m_run->result = result;
    m_run->ended = true;
    EndModalLoop(*m_run);
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    UpdateData(true);
    EndDialog(IDOK);
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool Dialog::CreateChild(Window* parent) {
    if (!Build(parent, true)) return false;
    OnInitDialog();
    if (IsWindow()) ShowWindow((Template()->style & WS_VISIBLE) ? SW_SHOW : SW_HIDE);
    return true;
}

LRESULT Dialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (CoreOf(*this).map.Dispatch(message, wParam, lParam, result)) return result;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK)
            OnOK();
        else if (LOWORD(wParam) == IDCANCEL)
            OnCancel();
    }
    return 0;
}

}  // namespace ui
