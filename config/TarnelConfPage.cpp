#include "config/TarnelConfPage.h"

#include <functional>

#include "config/FieldText.h"
#include "config/JobCodes.h"
#include "config/JobResult.h"
#include "module/DeviceNameError.h"
#include "module/MessageIds.h"
#include "platform/DataExchange.h"
#include "platform/FromUtf8.h"
#include "platform/IsSpace.h"
#include "platform/LoadString.h"
#include "platform/MessageBox.h"
#include "platform/SysColor.h"
#include "protocol/TextConversion.h"
#include "res/FixedTexts.h"
#include "serial/PortName.h"
#include "serial/SerialLine.h"

namespace {

using namespace ui;

std::u16string Trim(const std::u16string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && ui::IsSpace(text[first]))
        ++first;
    while (last > first && ui::IsSpace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

}  // namespace

TarnelConfPage::TarnelConfPage() : ui::PropertyPage(TEMPLATE_ID) {
    MapCommand(IDC_APPLY, &TarnelConfPage::OnApply);
    MapCommand(IDC_REFRESH, &TarnelConfPage::OnRefresh);
    MapCommand(IDC_FACTORY_RESET, &TarnelConfPage::OnFactoryReset);
    MapCommand(IDC_SEARCH, &TarnelConfPage::OnSearch);
    MapCommand(IDC_TAKE_TARGET, &TarnelConfPage::OnTakeTarget);
    MapCommand(IDC_CLEAR_TARGET, &TarnelConfPage::OnClearTarget);
    MapTimer(&TarnelConfPage::OnTimer);
    MapMessage(WM_PORT_ERROR, &TarnelConfPage::OnPortError);
    MapMessage(WM_JOB_RESULT, &TarnelConfPage::OnJobResult);
    MapMessage(WM_SETCURSOR, &TarnelConfPage::OnSetCursor);
}

TarnelConfPage::~TarnelConfPage() {
    ClosePort();
}

// --- Controls -----------------------------------------------------------------

void TarnelConfPage::DoDataExchange(ui::DataExchange& dx) {
    DDX_Control(dx, IDC_RESULT_LIST, m_list);
    DDX_Control(dx, IDC_DEVICE_NAME, m_editName);
    DDX_Control(dx, IDC_BAUD, m_cbBaud);
    DDX_Control(dx, IDC_PARITY, m_cbParity);
    DDX_Control(dx, IDC_STOP_BITS, m_cbStopBits);
    DDX_Control(dx, IDC_FLOW, m_cbFlow);
    DDX_Radio(dx, IDC_OP_MODE_0, m_opMode);
    DDX_Control(dx, IDC_BD_ADDR, m_editAddr);
    DDX_Control(dx, IDC_RESPONSE, m_cbResponse);
    DDX_Control(dx, IDC_GB_DEVICE_INFO, m_gbDevInfo);
    DDX_Control(dx, IDC_GB_UART, m_gbUart);
    DDX_Control(dx, IDC_GB_SEARCH, m_gbSearch);
    DDX_Control(dx, IDC_GB_OP_MODE, m_gbOpMode);
    DDX_Control(dx, IDC_TARGET, m_editTarget);
}

bool TarnelConfPage::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    using namespace std::placeholders;
    m_comm.m_onError = std::bind(&TarnelConfPage::OnCommError, this, _1, _2);
    InitControls();
    UpdateData(false);
    return true;
}

void TarnelConfPage::PostNcDestroy() {
    ClosePort();
}

void TarnelConfPage::InitControls() {
    FillCombo(m_cbBaud, BaudRateItems(), 9600);
    FillCombo(m_cbParity, ParityItems(), 'N');
    FillCombo(m_cbStopBits, StopBitItems(), 1);
    const std::u16string on(res::kOn);
    const std::u16string off(res::kOff);
    FillCombo(m_cbFlow, {{off, 0}, {on, 1}}, 0);
    FillCombo(m_cbResponse, {{on, 0}, {off, 1}}, 0);

    m_grpCommon = {&m_editAddr, &m_editName, &m_cbBaud, &m_cbParity, &m_cbStopBits, &m_cbFlow, &m_cbResponse};
    m_grpCommonIds = {IDC_REFRESH,   IDC_FACTORY_RESET, IDC_APPLY,    IDC_OP_MODE_0,
                      IDC_OP_MODE_1, IDC_OP_MODE_2,     IDC_OP_MODE_3};
    m_grpSearch = {&m_list, &m_editTarget};
    m_grpSearchIds = {IDC_SEARCH, IDC_TAKE_TARGET, IDC_CLEAR_TARGET};

    m_found.InitColumns();

    m_groupBoxes = {&m_gbDevInfo, &m_gbUart, &m_gbSearch, &m_gbOpMode};
    for (CXGroupBox* box : m_groupBoxes)
        ConfigureGroupBox(*box, box == &m_gbOpMode ? 0 : 2);
}

void TarnelConfPage::FillCombo(ui::ComboBox& combo, const ComboItems& items, uintptr_t selected) {
    combo.ResetContent();
    for (const auto& [text, data] : items)
        combo.SetItemData(combo.AddString(text), data);
    SelectByItemData(combo, selected);
}

// Each setting is painted at once, as the box would be repainted after each
// one on Windows.
void TarnelConfPage::ConfigureGroupBox(CXGroupBox& box, int frameStyle) {
    const auto repaint = [&box] {
        box.Invalidate(true);
        box.UpdateWindow();
    };
    ui::Font bold = box.GetFont();
    bold.SetWeight(ui::FW_BOLD);
    box.m_titleFont = bold;
    repaint();
    box.m_titleSize.cx = 0;
    repaint();
    box.m_titleAlign = 1;
    repaint();
    box.m_doubleLine = false;
    repaint();
    box.m_lineWidth = 1;
    repaint();
    box.m_frameStyle = frameStyle;
    repaint();
    box.m_frameColor = RGB(44, 162, 162);
    repaint();
}

void TarnelConfPage::EnableAll(const std::vector<ui::Window*>& controls, bool on) {
    for (ui::Window* control : controls)
        control->EnableWindow(on);
}

void TarnelConfPage::EnableAll(const std::vector<int>& ids, bool on) {
    for (int id : ids) {
        if (ui::Window* control = GetDlgItem(id)) control->EnableWindow(on);
    }
}

void TarnelConfPage::EnableControls(bool on) {
    if (!IsWindow()) return;
    EnableAll(m_grpCommon, on);
    EnableAll(m_grpCommonIds, on);
    EnableAll(m_grpSearchIds, on);
    EnableAll(m_grpSearch, on);
    if (on && (m_devInfo.opMode == 1 || m_devInfo.opMode == 2)) {
        EnableAll(m_grpSearchIds, false);
        EnableAll(m_grpSearch, false);
    }
    SetFocus();
}

int TarnelConfPage::SelectByItemData(ui::ComboBox& combo, ui::ComboBox::ItemData value) {
    const int count = combo.GetCount();
    for (int i = 0; i < count; ++i) {
        if (combo.GetItemData(i) == value) {
            combo.SetCurSel(i);
            return i;
        }
    }
    return -1;
}

bool TarnelConfPage::ShowDeviceInfo() {
    SelectByItemData(m_cbBaud, m_openBaud);
    SelectByItemData(m_cbParity, static_cast<unsigned char>(m_newParity));
    SelectByItemData(m_cbStopBits, m_newStopBits);
    SelectByItemData(m_cbFlow, m_uartInfo[0]);
    m_editName.SetWindowText(ui::FromUtf8(FieldText(m_devInfo.name)));
    std::u16string text;
    FormatBdAddrW(m_devInfo.addr, text);
    m_editAddr.SetWindowText(text);
    SetDlgItemText(IDC_FW_VERSION, ui::FromUtf8(m_fwVersion));
    if (!m_curTarget.IsUnset()) {
        FormatBdAddrW(m_curTarget, text);
        m_editTarget.SetWindowText(text);
    }
    if (m_devInfo.opMode > 3) return false;
    m_opMode = m_devInfo.opMode;
    SelectByItemData(m_cbResponse, m_curResponse);
    UpdateData(false);
    return true;
}

ui::LRESULT TarnelConfPage::OnSetCursor(ui::WPARAM, ui::LPARAM) {
    if (!m_busy) return 0;
    RestoreWaitCursor();
    return 1;
}

void TarnelConfPage::BeginBusy() {
    m_waitCursor.Begin();
    m_busy = true;
}

// --- Port and worker ------------------------------------------------------------

std::error_code TarnelConfPage::OpenPort(const std::u16string& port, uint32_t baud, uint8_t parity,
                                         uint8_t stopBits, uint8_t flow, unsigned charSize) {
    // Numbered before reads start: an error they report at once belongs to
    // this opening.
    const uint16_t opening = ++m_opening;
    m_portErrorSeen = false;
    if (std::error_code error =
            m_comm.Open(PortName::FromUtf16(port), baud, charSize, parity, stopBits, flow))
        return error;
    m_openBaud = baud;
    m_newParity = ParityLetter(parity);
    m_newStopBits = StopBitCount(stopBits);
    m_newFlow = flow == FLOW_HARDWARE ? 1 : 0;
    m_flow.Begin();
    m_worker.Start(opening);
    m_worker.Enqueue(JOB_CHECK_DEVICE);
    if (!m_busy) {
        BeginBusy();
        EnableControls(false);
    }
    return {};
}

void TarnelConfPage::ClosePort() {
    ++m_opening;
    if (IsWindow()) KillTimer(SEARCH_TIMER_ID);
    if (m_comm.IsOpen()) m_comm.Close();
    m_worker.Stop();
    // Also without a window: the program's wait cursor must not stay on.
    m_waitCursor.End();
    if (IsWindow()) {
        SetSearchButtonText(IDS_SEARCH_DEVICE);
        m_editName.SetWindowText(u"");
        m_editAddr.SetWindowText(u"");
        m_editTarget.SetWindowText(u"");
        SetDlgItemText(IDC_FW_VERSION, u"");
        m_found.Clear();
    }
    EnableControls(false);
    m_busy = false;
}

bool TarnelConfPage::IsPortOpen() const {
    return m_comm.IsOpen();
}

void TarnelConfPage::ResetModule() {
    if (m_comm.IsOpen()) m_flow.ResetModule();
}

// --- Results and user operations (window thread) ----------------------------------

ui::LRESULT TarnelConfPage::OnJobResult(ui::WPARAM wParam, ui::LPARAM lParam) {
    // A result that a worker posted just before ClosePort ended it belongs to
    // an opening that is over (a job cut short by the closing among them),
    // however soon the port was opened again.
    const JobResult job = ReceiveJobResult(wParam, lParam);
    if (job.opening != m_opening) return 0;
    m_busy = false;
    m_waitCursor.End();
    FlowStep step{};
    if (!StepOfJob(job.job, step)) return 0;
    if (step == FlowStep::Read) TakeReading(job.result);
    OnSearchResult(step, job.result);
    Follow(m_flow.After(step, job.result, m_devInfo));
    return 0;
}

void TarnelConfPage::TakeReading(ModuleResult result) {
    const ModuleReading& reading = m_worker.Reading();
    m_fwVersion = reading.fwVersion;
    m_devInfo = reading.devInfo;
    m_uartInfo = reading.uartInfo;
    m_curTarget = reading.target;
    m_curResponse = reading.responses;
    // The read has ended any inquiry.
    m_searchState = SearchState::Idle;
    if (result == ModuleResult::Ok) ShowDeviceInfo();
}

void TarnelConfPage::Follow(const FlowOutcome& outcome) {
    const ui::UINT style = outcome.failed ? MB_ICONERROR : MB_ICONINFORMATION;
    switch (outcome.next) {
        case FlowNext::Ready:
            EnableControls(true);
            break;
        case FlowNext::Read:
            m_worker.Enqueue(JOB_READ_SETTINGS);
            break;
        case FlowNext::Check:
            if (outcome.message == 0 || Ask(outcome.message, style) != 0) m_worker.Enqueue(JOB_CHECK_DEVICE);
            break;
        case FlowNext::AskDisconnect:
            if (Ask(outcome.message, style) != 0) m_worker.Enqueue(JOB_DISCONNECT);
            break;
        case FlowNext::NextReport:
            m_worker.Enqueue(JOB_NEXT_RESULT);
            break;
        case FlowNext::ResetModule:
            FinishApply(outcome.message);
            break;
        case FlowNext::GiveUp:
            GiveUp(outcome.message);
            break;
        case FlowNext::Stop:
            ClosePort();
            ui::AfxMessageBox(outcome.message, style);
            break;
    }
}

int TarnelConfPage::Ask(int stringId, ui::UINT style) {
    const uint16_t opening = m_opening;
    const int answer = ui::AfxMessageBox(stringId, style);
    return opening == m_opening ? answer : 0;
}

void TarnelConfPage::GiveUp(int stringId) {
    if (stringId != 0) {
        ClosePort();
        ui::AfxMessageBox(stringId, MB_ICONERROR);
    }
    if (IsPortOpen()) ClosePort();
    PostSetupComPort();
}

void TarnelConfPage::FinishApply(int stringId) {
    ResetModule();
    // A port that failed before the reset got there leaves IDS_PORT_ERROR
    // alone to say so.
    if (m_portErrorSeen) return;
    if (Ask(stringId, MB_ICONINFORMATION) == 0) return;
    if (IsPortOpen()) ClosePort();
    PostSetupComPort();
}

void TarnelConfPage::PostSetupComPort() {
    if (ui::Window* main = ui::AfxGetMainWnd()) main->PostMessage(WM_COMMAND, ID_SETUP_COM_PORT, 0);
}

void TarnelConfPage::OnRefresh() {
    if (!IsPortOpen() || m_busy) return;
    m_worker.Enqueue(JOB_CHECK_DEVICE);
    BeginBusy();
    EnableControls(false);
}

void TarnelConfPage::OnFactoryReset() {
    EnableControls(false);
    const int answer = Ask(IDS_FACTORY_RESET_QUESTION, MB_OKCANCEL | MB_ICONQUESTION);
    if (answer == IDOK) {
        m_worker.Enqueue(JOB_FACTORY_RESET);
    } else if (answer != 0) {
        EnableControls(true);
    }
}

void TarnelConfPage::ApplyFailed(int stringId) {
    if (Ask(stringId, MB_ICONERROR) != 0) EnableControls(true);
}

void TarnelConfPage::OnApply() {
    EnableControls(false);
    UpdateData(true);
    std::string name;
    ToUtf8(m_editName.GetWindowText(), name);
    if (const int error = DeviceNameError(name)) {
        ApplyFailed(error);
        return;
    }
    m_newName = name;
    if (!TakeTargetFromEdit()) {
        ApplyFailed(IDS_TARGET_ADDRESS_INVALID);
        return;
    }
    TakeUartValuesFromControls();
    BeginBusy();
    m_worker.Enqueue(ModuleWrite{m_newName, m_newBaud, m_newParity, m_newStopBits, m_newFlow, m_newOpMode,
                                 m_newTarget, m_newResponse});
}

// False when the edit holds text that is not an address.
bool TarnelConfPage::TakeTargetFromEdit() {
    const std::u16string text = Trim(m_editTarget.GetWindowText());
    m_editTarget.SetWindowText(text);
    if (text.empty()) {
        m_newTarget = BdAddr{};
        return true;
    }
    std::string ansi;
    ToAnsi(text.c_str(), ansi);
    return ParseBdAddr(ansi, m_newTarget);
}

void TarnelConfPage::TakeUartValuesFromControls() {
    m_newBaud = static_cast<uint32_t>(m_cbBaud.GetItemData(m_cbBaud.GetCurSel()));
    m_newParity = static_cast<char>(m_cbParity.GetItemData(m_cbParity.GetCurSel()));
    m_newStopBits = static_cast<uint8_t>(m_cbStopBits.GetItemData(m_cbStopBits.GetCurSel()));
    m_newFlow = static_cast<uint8_t>(m_cbFlow.GetItemData(m_cbFlow.GetCurSel()));
    m_newOpMode = static_cast<uint8_t>(m_opMode);
    m_newResponse = m_cbResponse.GetItemData(m_cbResponse.GetCurSel()) != 0 ? 1 : 0;
}

void TarnelConfPage::OnCommError(const TarnelComm* engine, std::error_code& error) {
    if (engine == &m_comm && m_comm.IsOpen()) {
        m_portErrorSeen = true;
        PostMessage(WM_PORT_ERROR, static_cast<ui::WPARAM>(error.value()), m_opening);
    }
}

ui::LRESULT TarnelConfPage::OnPortError(ui::WPARAM, ui::LPARAM lParam) {
    if (lParam != m_opening || !IsPortOpen()) return 0;
    // The boxes up now belong to the port that failed; the worker's box also
    // holds the job lock that ClosePort waits for. With the engine closed
    // first, the worker's job ends without sending anything once its box is
    // gone.
    m_comm.Close();
    ui::CloseMessageBoxes();
    ClosePort();
    EnableControls(false);
    ui::AfxMessageBox(IDS_PORT_ERROR, MB_ICONERROR);
    if (IsPortOpen()) ClosePort();
    PostSetupComPort();
    return 0;
}

// --- Device search and connection target (window thread) ---------------------------

void TarnelConfPage::SetSearchButtonText(int stringId) {
    if (ui::Window* button = GetDlgItem(IDC_SEARCH)) button->SetWindowText(ui::LoadString(stringId));
}

void TarnelConfPage::OnSearch() {
    if (m_searchState == SearchState::Idle) {
        EnableControls(false);
        BeginBusy();
        m_found.Clear();
        m_worker.Enqueue(JOB_START_SEARCH);
    } else {
        KillTimer(SEARCH_TIMER_ID);
        if (ui::Window* button = GetDlgItem(IDC_SEARCH)) button->EnableWindow(false);
        m_worker.Enqueue(JOB_STOP_SEARCH);
    }
}

void TarnelConfPage::OnSearchResult(FlowStep step, ModuleResult result) {
    if (step == FlowStep::StartSearch && result == ModuleResult::Ok) {
        m_searchState = SearchState::Searching;
        if (ui::Window* button = GetDlgItem(IDC_SEARCH)) {
            button->SetWindowText(ui::LoadString(IDS_STOP_SEARCH));
            button->EnableWindow(true);
            m_list.EnableWindow(true);
            SetTimer(SEARCH_TIMER_ID, SEARCH_TIMER_MS);
        }
    } else if (step == FlowStep::NextReport && result == ModuleResult::Ok) {
        m_found.Add(m_worker.Report());
    } else if (step == FlowStep::NextReport && result == ModuleResult::SearchEnded) {
        KillTimer(SEARCH_TIMER_ID);
        SetSearchButtonText(IDS_SEARCH_DEVICE);
    } else if (step == FlowStep::StopSearch) {
        if (m_searchState == SearchState::Searching) SetSearchButtonText(IDS_SEARCH_DEVICE);
        m_searchState = SearchState::Idle;
    }
}

// Polling stops here: a poll between the check and the read would take the
// OK that follows the model name for the end of the inquiry. The button
// keeps its text and comes back with the read's controls, when a click
// starts a new search.
void TarnelConfPage::OnTimer(ui::UINT id) {
    // An expiry still on its way when the timer was killed counts for nothing.
    if (id != SEARCH_TIMER_ID || !KillTimer(SEARCH_TIMER_ID)) return;
    if (!IsPortOpen()) return;
    m_searchState = SearchState::Idle;
    if (ui::Window* button = GetDlgItem(IDC_SEARCH)) button->EnableWindow(false);
    m_worker.Enqueue(JOB_CHECK_DEVICE);
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
