// The configurator page's device search and connection target (window
// thread). Part of TarnelConfPage, whose class spans three files (see
// TarnelConfPage.cpp).

#include "config/TarnelConfPage.h"

#include <cstdio>

#include "config/FieldText.h"
#include "config/JobCodes.h"
#include "platform/FromUtf8.h"
#include "platform/LoadString.h"
#include "platform/MessageBox.h"

namespace {

using namespace ui;

}  // namespace

void TarnelConfPage::SetSearchButtonText(int stringId) {
    if (ui::Window* button = GetDlgItem(IDC_SEARCH)) button->SetWindowText(ui::LoadString(stringId));
}

void TarnelConfPage::OnSearch() {
    if (m_searchState == 0) {
        EnableControls(false);
        BeginWait();
        m_busy = true;
        m_list.DeleteAllItems();
        m_devices.clear();
        Enqueue(JOB_START_SEARCH);
    } else {
        KillTimer(SEARCH_TIMER_ID);
        if (ui::Window* button = GetDlgItem(IDC_SEARCH)) button->EnableWindow(false);
        Enqueue(JOB_STOP_SEARCH);
    }
}

void TarnelConfPage::OnSearchResult(FlowStep step, StepResult result) {
    if (step == FlowStep::StartSearch && result == StepResult::Ok) {
        m_searchState = 1;
        if (ui::Window* button = GetDlgItem(IDC_SEARCH)) {
            button->SetWindowText(ui::LoadString(IDS_STOP_SEARCH));
            button->EnableWindow(true);
            m_list.EnableWindow(true);
            SetTimer(SEARCH_TIMER_ID, SEARCH_TIMER_MS);
        }
    } else if (step == FlowStep::NextReport && result == StepResult::Ok) {
        AddDevice();
    } else if (step == FlowStep::NextReport && result == StepResult::SearchEnded) {
        KillTimer(SEARCH_TIMER_ID);
        SetSearchButtonText(IDS_SEARCH_DEVICE);
    } else if (step == FlowStep::StopSearch) {
        if (m_searchState == 1) SetSearchButtonText(IDS_SEARCH_DEVICE);
        m_searchState = 0;
    }
}

void TarnelConfPage::AddDevice() {
    std::u16string key;
    FormatBdAddrW(m_inqResult.addr, key);
    if (m_devices.count(key) != 0) return;
    const int row = m_list.GetItemCount();
    m_devices.emplace(key, m_inqResult);
    m_list.InsertItem(row, key);
    m_list.SetItemText(row, 1, ui::FromUtf8(FieldText(m_inqResult.name)));
    char number[16];
    std::snprintf(number, sizeof number, "%d", m_inqResult.rssi);
    m_list.SetItemText(row, 2, ui::FromUtf8(number));
    const uint32_t classOfDevice = m_inqResult.classOfDevice;
    std::snprintf(number, sizeof number, "%X", classOfDevice);
    m_list.SetItemText(row, 3, ui::FromUtf8(number));
}

// Polling stops here: a poll between the check and the read would take the
// OK that follows the model name for the end of the inquiry. The button
// keeps its text and comes back with the read's controls, when a click
// starts a new search.
void TarnelConfPage::OnTimer(ui::UINT id) {
    // An expiry still on its way when the timer was killed counts for nothing.
    if (id != SEARCH_TIMER_ID || !KillTimer(SEARCH_TIMER_ID)) return;
    if (!IsPortOpen()) return;
    m_searchState = 0;
    if (ui::Window* button = GetDlgItem(IDC_SEARCH)) button->EnableWindow(false);
    Enqueue(JOB_CHECK_DEVICE);
}

void TarnelConfPage::OnTakeTarget() {
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) {
        ui::AfxMessageBox(IDS_NO_DEVICE_SELECTED, MB_ICONERROR);
        return;
    }
    m_editTarget.SetWindowText(m_list.GetItemText(row, 0));
    m_editTarget.SetReadOnly(true);
}

void TarnelConfPage::OnClearTarget() {
    m_editTarget.SetWindowText(u"");
    m_editTarget.SetReadOnly(false);
}
