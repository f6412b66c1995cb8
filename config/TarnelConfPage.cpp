#include "config/TarnelConfPage.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>

#include "app/platform/DataExchange.h"
#include "app/platform/LoadString.h"
#include "app/platform/MessageBox.h"
#include "app/platform/ServingWait.h"
#include "module/DeviceNameError.h"
#include "config/FromUtf8.h"
#include "config/JobCodes.h"
#include "controls/SysColor.h"
#include "protocol/CommandSet.h"
#include "protocol/ResultBlock.h"
#include "protocol/TextConversion.h"

namespace {

using namespace ui;

int Code(const ResultBlock& block) {
    return block ? ResultCode(block.get()) : RES_NO_RESULT;
}

std::u16string Widen(const char* ascii) {
    return std::u16string(ascii, ascii + std::strlen(ascii));
}

// The text of a fixed-size, NUL-terminated record field.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

std::u16string Trim(const std::u16string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
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
    FillCombo(m_cbBaud,
              {{u"9600", 9600},
               {u"19200", 19200},
               {u"38400", 38400},
               {u"57600", 57600},
               {u"115200", 115200},
               {u"230400", 230400},
               {u"460800", 460800}},
              9600);
    FillCombo(m_cbParity, {{u"NONE", 'N'}, {u"EVEN", 'E'}, {u"ODD", 'O'}}, 'N');
    FillCombo(m_cbStopBits, {{u"1", 1}, {u"2", 2}}, 1);
    FillCombo(m_cbFlow, {{u"OFF", 0}, {u"ON", 1}}, 0);
    FillCombo(m_cbResponse, {{u"ON", 0}, {u"OFF", 1}}, 0);

    m_grpCommon = {&m_editAddr, &m_editName, &m_cbBaud, &m_cbParity, &m_cbStopBits, &m_cbFlow, &m_cbResponse};
    m_grpCommonIds = {IDC_REFRESH,   IDC_FACTORY_RESET, IDC_APPLY,    IDC_OP_MODE_0,
                      IDC_OP_MODE_1, IDC_OP_MODE_2,     IDC_OP_MODE_3};
    m_grpSearch = {&m_list, &m_editTarget};
    m_grpSearchIds = {IDC_SEARCH, IDC_TAKE_TARGET, IDC_CLEAR_TARGET};

    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_list.InsertColumn(0, u"BD ADDR", LVCFMT_LEFT, 100);
    m_list.InsertColumn(1, u"Name", LVCFMT_LEFT, 120);
    m_list.InsertColumn(2, u"RSSI", LVCFMT_LEFT, 40);
    m_list.InsertColumn(3, u"CoD", LVCFMT_LEFT, 60);

    m_groupBoxes = {&m_gbDevInfo, &m_gbUart, &m_gbSearch, &m_gbOpMode};
    for (CXGroupBox* box : m_groupBoxes)
        ConfigureGroupBox(*box, box == &m_gbOpMode ? 0 : 2);
}

void TarnelConfPage::FillCombo(ui::ComboBox& combo,
                               std::initializer_list<std::pair<const char16_t*, uintptr_t>> items,
                               uintptr_t selected) {
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
    QFont bold = box.GetFont();
    bold.setWeight(QFont::Bold);
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
    m_editName.SetWindowText(FromUtf8(FieldText(m_devInfo.name)));
    std::u16string text;
    FormatBdAddrW(m_devInfo.addr, text);
    m_editAddr.SetWindowText(text);
    SetDlgItemText(IDC_FW_VERSION, FromUtf8(m_fwVersion));
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

void TarnelConfPage::BeginWait() {
    if (!m_holdsWaitCursor.exchange(true)) BeginWaitCursor();
}

void TarnelConfPage::EndWait() {
    if (m_holdsWaitCursor.exchange(false)) EndWaitCursor();
}

// --- Port and worker ------------------------------------------------------------

std::error_code TarnelConfPage::OpenPort(const std::u16string& port, uint32_t baud, uint8_t parity,
                                         uint8_t stopBits, uint8_t flow, unsigned charSize) {
    std::string name;
    ToAnsi(port.c_str(), name);
    if (std::error_code error = m_comm.Open(name, baud, charSize, parity, stopBits, flow)) return error;
    m_openBaud = baud;
    m_openParity = parity;
    m_openStopBits = stopBits;
    m_newParity = parity == 2 ? 'E' : parity == 1 ? 'O' : 'N';
    m_newStopBits = stopBits == 0 ? 1 : 2;
    m_newFlow = flow == 2 ? 1 : 0;
    {
        auto lock = ui::LockServing(m_jobMutex);
        m_jobs.clear();
    }
    m_stopWorker = false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    m_worker = std::thread(&TarnelConfPage::WorkerLoop, this);
    Enqueue(JOB_CHECK_DEVICE, false);
    if (!m_busy) {
        BeginWait();
        m_busy = true;
        EnableControls(false);
    }
    return {};
}

void TarnelConfPage::ClosePort() {
    if (IsWindow()) KillTimer(SEARCH_TIMER_ID);
    if (m_comm.IsOpen()) m_comm.Close();
    if (m_worker.joinable()) {
        m_stopWorker = true;
        Enqueue(JOB_QUIT, true);
        m_worker.join();
    }
    // Also without a window: the program's wait cursor must not stay on.
    EndWait();
    if (IsWindow()) {
        SetSearchButtonText(113);
        m_editName.SetWindowText(u"");
        m_editAddr.SetWindowText(u"");
        m_editTarget.SetWindowText(u"");
        SetDlgItemText(IDC_FW_VERSION, u"");
        m_list.DeleteAllItems();
        m_devices.clear();
    }
    EnableControls(false);
    m_busy = false;
}

bool TarnelConfPage::IsPortOpen() const {
    return m_comm.IsOpen();
}

void TarnelConfPage::ResetModule() {
    if (m_comm.IsOpen()) m_comm.SendCommand(CMD_RESET);
}

void TarnelConfPage::Enqueue(int32_t job, bool clearFirst) {
    {
        auto lock = ui::LockServing(m_jobMutex);
        if (clearFirst) m_jobs.clear();
        m_jobs.push_back(job);
    }
    m_jobCond.notify_all();
}

void TarnelConfPage::WorkerLoop() {
    std::unique_lock lock(m_jobMutex);
    while (!m_stopWorker) {
        m_jobCond.wait(lock, [this] { return !m_jobs.empty(); });
        const int32_t job = m_jobs.front();
        m_jobs.pop_front();
        if (job == JOB_QUIT) return;
        // A poll runs while the user picks rows or clicks Stop: it must not
        // make the pointer busy.
        const bool userWaits = job != JOB_NEXT_RESULT;
        if (userWaits) BeginWait();
        const int32_t result = RunJob(job);
        if (result == END_THREAD) return;
        if (result != POST_NOTHING) {
            PostMessage(WM_JOB_RESULT, static_cast<ui::WPARAM>(job), result);
        } else if (userWaits) {
            EndWait();  // no result comes to end it
        }
    }
}

int32_t TarnelConfPage::RunJob(int32_t job) {
    switch (job) {
        case JOB_CHECK_DEVICE:
            return JobCheckDevice();
        case JOB_READ_SETTINGS:
            return JobReadSettings();
        case JOB_FACTORY_RESET:
            return JobFactoryReset();
        case JOB_START_SEARCH:
            return JobStartSearch();
        case JOB_NEXT_RESULT:
            return JobNextResult();
        case JOB_APPLY:
            return JobApply();
        case JOB_STOP_SEARCH:
            return JobStopSearch();
        case JOB_DISCONNECT:
            return JobDisconnect();
        default:
            return POST_NOTHING;
    }
}

// --- Jobs (worker thread) ---------------------------------------------------------

void TarnelConfPage::EnableResponses() {
    ui::AfxMessageBox(125, MB_OK);
    m_comm.SetQuietMode(0);
}

// False when the module did not say whether it sends command responses.
bool TarnelConfPage::ReadQuietModeAndEnable() {
    if (m_comm.GetQuietMode(m_curResponse) != RES_QM) return false;
    if (m_curResponse == 1) EnableResponses();
    return true;
}

bool TarnelConfPage::IsBusyState(uint8_t state) {
    return state == STATE_SCANNING || state == STATE_INQUIRING || state == STATE_CONNECTING;
}

bool TarnelConfPage::CancelOperation() {
    const unsigned limit =
        m_devInfo.state == STATE_CONNECTING ? OPCANCEL_CONNECTING_TIMEOUT_MS : CMD_OPCANCEL.timeoutMs;
    return Code(m_comm.SendCommand(CMD_OPCANCEL.text, std::strlen(CMD_OPCANCEL.text), CMD_OPCANCEL.code,
                                   limit)) == RES_OK;
}

int32_t TarnelConfPage::JobCheckDevice() {
    const int probe = Code(m_comm.SendCommand(CMD_AT));
    if (probe == RES_CLOSED) return END_THREAD;
    if (probe == RES_ERROR) {
        m_comm.SendCommand(CMD_AT);
    } else if (probe != RES_OK) {
        // No answer: the module may be in data mode or have responses off.
        m_comm.SendCommand(CMD_ESCAPE);
        if (!ReadQuietModeAndEnable()) return JR_FAILED;
    }
    const int model = Code(m_comm.SendCommand(CMD_MODELNAME));
    if (model == RES_CLOSED) return END_THREAD;
    return model == RES_MODELNAME ? JR_OK : JR_NO_MODEL;
}

int32_t TarnelConfPage::JobReadSettings() {
    const int probe = Code(m_comm.SendCommand(CMD_AT));
    if (probe == RES_CLOSED) return END_THREAD;
    if (probe == RES_ERROR && Code(m_comm.SendCommand(CMD_AT)) != RES_OK && !ReadQuietModeAndEnable()) {
        return JR_FAILED;
    }
    m_comm.GetQuietMode(m_curResponse);

    ResultBlock block = m_comm.SendCommand(CMD_VERSION);
    if (Code(block) != RES_VERSION) return JR_FAILED;
    char version[TEXT_RECORD_SIZE] = {};
    CopyPayload(block.get(), version);
    m_fwVersion = FieldText(version);

    block = m_comm.SendCommand(CMD_INFO1);
    if (Code(block) != RES_INFO1) return JR_FAILED;
    CopyPayload(block.get(), m_devInfo);
    if (IsBusyState(m_devInfo.state) && !CancelOperation()) return JR_FAILED;
    m_searchState = 0;

    block = m_comm.SendCommand(CMD_INFO2);
    if (Code(block) != RES_INFO2) return JR_FAILED;
    CopyPayload(block.get(), m_uartInfo);

    block = m_comm.SendCommand(CMD_TADDR_QUERY);
    if (Code(block) != RES_TADDR) return JR_FAILED;
    CopyPayload(block.get(), m_curTarget);
    return JR_OK;
}

int32_t TarnelConfPage::JobFactoryReset() {
    return Code(m_comm.SendCommand(CMD_FACTORY_RESET)) == RES_OK ? JR_OK : JR_FAILED;
}

int32_t TarnelConfPage::JobApply() {
    ResultBlock block = m_comm.SendCommand(CMD_INFO1);
    if (Code(block) != RES_INFO1) return JR_FAILED;
    CopyPayload(block.get(), m_devInfo);
    if (IsBusyState(m_devInfo.state) && !CancelOperation()) return JR_FAILED;

    if (DeviceNameError(m_newName) != 0) return JR_NAME_FAILED;
    if (Code(m_comm.SendCommand(NameCommand(m_newName), CMD_NAME)) != RES_OK) return JR_NAME_FAILED;

    const bool parityValid = m_newParity == 'N' || m_newParity == 'E' || m_newParity == 'O';
    if (!parityValid || (m_newStopBits != 1 && m_newStopBits != 2) || m_newFlow > 1) return JR_UART_FAILED;
    const std::string uart = UartCommand(m_newBaud, m_newParity, m_newStopBits, m_newFlow);
    if (Code(m_comm.SendCommand(uart, CMD_UART)) != RES_OK) return JR_UART_FAILED;

    if (!m_newTarget.IsUnset() &&
        Code(m_comm.SendCommand(TargetAddrCommand(m_newTarget), CMD_TADDR_SET)) != RES_OK) {
        return JR_TARGET_FAILED;
    }

    if (m_newOpMode > 4) return JR_OPMODE_FAILED;
    if (Code(m_comm.SendCommand(OpModeCommand(m_newOpMode), CMD_OPMODE)) != RES_OK) return JR_OPMODE_FAILED;

    // With responses switched off the module does not confirm this one.
    return m_comm.SetQuietMode(m_newResponse) == RES_ERROR ? JR_RESPONSE_FAILED : JR_OK;
}

// The module sends its disconnection report some time after the OK, so the
// report is awaited for as long as a command would be.
int32_t TarnelConfPage::JobDisconnect() {
    if (Code(m_comm.SendCommand(CMD_DISCONNECT)) != RES_OK) return JR_FAILED;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(CMD_DISCONNECT.timeoutMs);
    BdAddr peer;
    while (Clock::now() < deadline) {
        const int code = m_comm.WaitDisconnect(peer);
        if (code == RES_DISCONNECT) return JR_OK;
        if (code == RES_CLOSED) return POST_NOTHING;
        if (code != RES_INCOMPLETE && code != RES_NOT_MINE) return JR_FAILED;
    }
    return JR_FAILED;
}

int32_t TarnelConfPage::JobStartSearch() {
    const std::string command = InquiryCommand(INQUIRY_DURATION, INQUIRY_ARGUMENT);
    return Code(m_comm.SendCommand(command, CMD_INQUIRY)) == RES_ERROR ? JR_FAILED : JR_OK;
}

int32_t TarnelConfPage::JobNextResult() {
    if (m_searchState != 1) return POST_NOTHING;
    switch (m_comm.WaitInquiryResult(m_inqResult)) {
        case RES_INQUIRY:
            return JR_OK;
        case RES_OK:
            return JR_SEARCH_DONE;
        case RES_CLOSED:
            return POST_NOTHING;
        default:
            return JR_WAIT_FAILED;
    }
}

int32_t TarnelConfPage::JobStopSearch() {
    if (m_searchState != 1) return POST_NOTHING;
    return Code(m_comm.SendCommand(CMD_OPCANCEL)) == RES_OK ? JR_OK : JR_FAILED;
}

// --- Results and user operations (window thread) ----------------------------------

ui::LRESULT TarnelConfPage::OnJobResult(ui::WPARAM wParam, ui::LPARAM lParam) {
    m_busy = false;
    EndWait();
    // A result that a worker posted just before ClosePort ended it belongs to
    // a session that is over; a job cut short by the closing must not count.
    if (!m_worker.joinable()) return 0;
    const auto job = static_cast<int32_t>(wParam);
    const auto result = static_cast<int32_t>(lParam);
    switch (job) {
        case JOB_CHECK_DEVICE:
            if (result == JR_OK) {
                Enqueue(JOB_READ_SETTINGS);
            } else {
                GiveUp(110);
            }
            break;
        case JOB_READ_SETTINGS:
            OnReadResult(result);
            break;
        case JOB_FACTORY_RESET:
            if (IsPortOpen()) ClosePort();
            PostSetupComPort();
            break;
        case JOB_APPLY:
            if (result == JR_OK) {
                ResetModule();
                ui::AfxMessageBox(126, MB_ICONINFORMATION);
                if (IsPortOpen()) ClosePort();
                PostSetupComPort();
            } else {
                ui::AfxMessageBox(127, MB_ICONERROR);
                Enqueue(JOB_CHECK_DEVICE);
            }
            break;
        case JOB_DISCONNECT:
            if (result != JR_OK) ui::AfxMessageBox(130, MB_ICONERROR);
            Enqueue(JOB_CHECK_DEVICE);
            break;
        case JOB_START_SEARCH:
        case JOB_NEXT_RESULT:
        case JOB_STOP_SEARCH:
            OnSearchResult(job, result);
            break;
        default:
            break;
    }
    return 0;
}

void TarnelConfPage::OnReadResult(int32_t result) {
    if (result != JR_OK) {
        GiveUp(110);
        return;
    }
    if (!ShowDeviceInfo()) {
        GiveUp(111);
        return;
    }
    if (m_devInfo.state == STATE_CONNECTED) {
        ui::AfxMessageBox(129, MB_ICONINFORMATION);
        Enqueue(JOB_DISCONNECT);
    } else {
        EnableControls(true);
    }
}

void TarnelConfPage::GiveUp(int stringId) {
    ClosePort();
    ui::AfxMessageBox(stringId, MB_ICONERROR);
    if (IsPortOpen()) ClosePort();
    PostSetupComPort();
}

void TarnelConfPage::PostSetupComPort() {
    if (ui::Window* main = ui::AfxGetMainWnd()) main->PostMessage(WM_COMMAND, ID_SETUP_COM_PORT, 0);
}

void TarnelConfPage::OnRefresh() {
    if (!IsPortOpen() || m_busy) return;
    Enqueue(JOB_CHECK_DEVICE);
    BeginWait();
    m_busy = true;
    EnableControls(false);
}

void TarnelConfPage::OnFactoryReset() {
    EnableControls(false);
    if (ui::AfxMessageBox(128, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
        Enqueue(JOB_FACTORY_RESET);
    } else {
        EnableControls(true);
    }
}

void TarnelConfPage::ApplyFailed(int stringId) {
    ui::AfxMessageBox(stringId, MB_ICONERROR);
    EnableControls(true);
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
        ApplyFailed(124);
        return;
    }
    TakeUartValuesFromControls();
    BeginWait();
    m_busy = true;
    Enqueue(JOB_APPLY);
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
        PostMessage(WM_PORT_ERROR, static_cast<ui::WPARAM>(error.value()), 0);
    }
}

ui::LRESULT TarnelConfPage::OnPortError(ui::WPARAM, ui::LPARAM) {
    if (!IsPortOpen()) return 0;
    ClosePort();
    EnableControls(false);
    ui::AfxMessageBox(106, MB_ICONERROR);
    if (IsPortOpen()) ClosePort();
    PostSetupComPort();
    return 0;
}

// --- Device search (window thread) -------------------------------------------------

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
        if (ui::Window* button = GetDlgItem(IDC_SEARCH)) button->EnableWindow(false);
        Enqueue(JOB_STOP_SEARCH);
    }
}

void TarnelConfPage::OnSearchResult(int32_t job, int32_t result) {
    if (job == JOB_START_SEARCH && result == JR_OK) {
        m_searchState = 1;
        if (ui::Window* button = GetDlgItem(IDC_SEARCH)) {
            button->SetWindowText(ui::LoadString(114));
            button->EnableWindow(true);
            m_list.EnableWindow(true);
            SetTimer(SEARCH_TIMER_ID, SEARCH_TIMER_MS);
        }
        Enqueue(JOB_NEXT_RESULT);
    } else if (job == JOB_START_SEARCH) {
        ClosePort();
        ui::AfxMessageBox(115, MB_ICONERROR);
    } else if (job == JOB_NEXT_RESULT && result == JR_SEARCH_DONE) {
        KillTimer(SEARCH_TIMER_ID);
        ui::AfxMessageBox(116, MB_ICONINFORMATION);
        SetSearchButtonText(113);
        Enqueue(JOB_CHECK_DEVICE);
    } else if (job == JOB_NEXT_RESULT) {
        if (result == JR_OK) AddDevice();
        Enqueue(JOB_NEXT_RESULT);
    } else {
        if (m_searchState == 1) SetSearchButtonText(113);
        m_searchState = 0;
        Enqueue(JOB_CHECK_DEVICE);
    }
}

void TarnelConfPage::AddDevice() {
    std::u16string key;
    FormatBdAddrW(m_inqResult.addr, key);
    if (m_devices.count(key) != 0) return;
    const int row = m_list.GetItemCount();
    m_devices.emplace(key, m_inqResult);
    m_list.InsertItem(row, key);
    m_list.SetItemText(row, 1, FromUtf8(FieldText(m_inqResult.name)));
    char number[16];
    std::snprintf(number, sizeof number, "%d", m_inqResult.rssi);
    m_list.SetItemText(row, 2, Widen(number));
    const uint32_t classOfDevice = m_inqResult.classOfDevice;
    std::snprintf(number, sizeof number, "%X", classOfDevice);
    m_list.SetItemText(row, 3, Widen(number));
}

// Polling stops here: a poll between the check and the read would take the
// OK that follows the model name for the end of the inquiry. The button
// keeps its text and comes back with the read's controls, when a click
// starts a new search.
void TarnelConfPage::OnTimer(ui::UINT id) {
    if (id != SEARCH_TIMER_ID) return;
    KillTimer(SEARCH_TIMER_ID);
    if (!IsPortOpen()) return;
    m_searchState = 0;
    if (ui::Window* button = GetDlgItem(IDC_SEARCH)) button->EnableWindow(false);
    Enqueue(JOB_CHECK_DEVICE);
}

void TarnelConfPage::OnTakeTarget() {
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) {
        ui::AfxMessageBox(112, MB_ICONERROR);
        return;
    }
    m_editTarget.SetWindowText(m_list.GetItemText(row, 0));
    m_editTarget.SetReadOnly(true);
}

void TarnelConfPage::OnClearTarget() {
    m_editTarget.SetWindowText(u"");
    m_editTarget.SetReadOnly(false);
}
