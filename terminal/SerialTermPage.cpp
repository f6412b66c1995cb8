#include "terminal/SerialTermPage.h"

#include <functional>
#include <string>

#include "platform/DataExchange.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/ProfileValues.h"
#include "protocol/BuildSendBytes.h"
#include "serial/PortName.h"

SerialTermPage::SerialTermPage() : ui::PropertyPage(IDD) {
    MapCommand(IDC_LINE_END_CR, &SerialTermPage::OnLineEndCR);
    MapCommand(IDC_LINE_END_LF, &SerialTermPage::OnLineEndLF);
    MapCommand(IDC_SEND, &SerialTermPage::OnSend);
    MapMessage(WM_HISTORY_ENTER, &SerialTermPage::OnHistoryEnter);
    MapMessage(WM_PORT_ERROR, &SerialTermPage::OnPortError);
}

void SerialTermPage::DoDataExchange(ui::DataExchange& dx) {
    ui::PropertyPage::DoDataExchange(dx);
    ui::DDX_Control(dx, IDC_TERM_VIEW, m_view);
    ui::DDX_Control(dx, IDC_LINE_END_CR, m_chkCR);
    ui::DDX_Control(dx, IDC_LINE_END_LF, m_chkLF);
    ui::DDX_Control(dx, IDC_HISTORY, m_history);
    ui::DDX_Control(dx, IDC_HEX, m_chkHex);
}

bool SerialTermPage::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    namespace profile = ui::profile;
    const int cr = ui::GetProfileInt(profile::kSection, profile::kLineEndCR, profile::kLineEndCRDefault);
    const int lf = ui::GetProfileInt(profile::kSection, profile::kLineEndLF, profile::kLineEndLFDefault);
    if (cr != 0) m_chkCR.SetCheck(ui::BST_CHECKED);
    if (lf != 0) m_chkLF.SetCheck(ui::BST_CHECKED);
    m_view.SetupView();
    m_view.m_lineEndCR = cr != 0;
    m_view.m_lineEndLF = lf != 0;
    using namespace std::placeholders;
    m_view.m_onError = std::bind(&SerialTermPage::OnTermError, this, _1, _2);
    return true;
}

std::error_code SerialTermPage::OpenPort(std::u16string_view port, uint32_t baud, uint8_t parity,
                                         uint8_t stopBits, uint8_t flowControl, uint8_t charSize) {
    const std::error_code error =
        m_view.m_channel->Open(PortName::FromUtf16(port), baud, charSize, parity, stopBits, flowControl);
    if (!error) {
        m_view.m_executor.Start(1);
        EnableControls(true);
    }
    return error;
}

void SerialTermPage::ClosePort() {
    if (m_view.m_channel->IsOpen()) {
        m_view.m_channel->Close();
        m_view.m_executor.Stop();
    }
    if (IsWindow()) m_view.ClearView();
    EnableControls(false);
}

void SerialTermPage::EnableControls(bool enable) {
    if (!IsWindow()) return;
    for (int id : {IDC_TERM_VIEW, IDC_LINE_END_CR, IDC_LINE_END_LF, IDC_HEX, IDC_HISTORY, IDC_SEND}) {
        if (ui::Window* control = GetDlgItem(id)) control->EnableWindow(enable);
    }
}

void SerialTermPage::OnSend() {
    const std::u16string line = m_history.GetWindowText();
    // Kept in the history before any check, so a refused line can be mended.
    m_history.SaveCurrent();
    m_history.SetWindowText(u"");
    if (line.empty()) return;

    const SendBytes result =
        BuildSendBytes(line, m_chkHex.GetCheck() == ui::BST_CHECKED, m_chkCR.GetCheck() == ui::BST_CHECKED,
                       m_chkLF.GetCheck() == ui::BST_CHECKED);
    if (!result.Ok()) {
        ui::AfxMessageBox(result.errorId, ui::MB_ICONERROR);
        return;
    }
    if (!result.bytes.empty()) m_view.m_channel->Write(result.bytes);
}

void SerialTermPage::ApplyLineEnds() {
    m_view.m_lineEndCR = m_chkCR.GetCheck() == ui::BST_CHECKED;
    m_view.m_lineEndLF = m_chkLF.GetCheck() == ui::BST_CHECKED;
}

void SerialTermPage::OnLineEndCR() {
    ApplyLineEnds();
    ui::WriteProfileInt(ui::profile::kSection, ui::profile::kLineEndCR, m_view.m_lineEndCR ? 1 : 0);
}

void SerialTermPage::OnLineEndLF() {
    ApplyLineEnds();
    ui::WriteProfileInt(ui::profile::kSection, ui::profile::kLineEndLF, m_view.m_lineEndLF ? 1 : 0);
}

void SerialTermPage::PostSend() {
    PostMessage(ui::WM_COMMAND, IDC_SEND, 0);
}

bool SerialTermPage::PreTranslateMessage(const ui::MSG& msg) {
    if (msg.message == ui::WM_KEYDOWN && msg.wParam == ui::VK_RETURN) {
        const ui::Window* focus = ui::Window::GetFocus();
        if (focus != nullptr && (focus == &m_history || focus->GetDlgCtrlID() == IDC_HISTORY)) PostSend();
    }
    return ui::PropertyPage::PreTranslateMessage(msg);
}

ui::LRESULT SerialTermPage::OnHistoryEnter(ui::WPARAM, ui::LPARAM lParam) {
    if (lParam == reinterpret_cast<ui::LPARAM>(&m_history)) PostSend();
    return 0;
}

void SerialTermPage::OnTermError(const TermRichedit* source, std::error_code& error) {
    if (source == &m_view && m_view.m_channel && m_view.m_channel->IsOpen()) {
        PostMessage(WM_PORT_ERROR, static_cast<ui::WPARAM>(error.value()), 0);
    }
}

ui::LRESULT SerialTermPage::OnPortError(ui::WPARAM, ui::LPARAM) {
    // A later error of the same failure finds the port already closed.
    if (!m_view.m_channel->IsOpen()) return 0;
    ClosePort();
    ui::AfxMessageBox(IDS_SERIAL_ERROR, ui::MB_ICONERROR);
    // The box's loop may have run a reopen meanwhile.
    if (m_view.m_channel->IsOpen()) ClosePort();
    if (ui::Window* main = ui::AfxGetMainWnd()) main->PostMessage(ui::WM_COMMAND, ID_SETUP_COM_PORT, 0);
    return 0;
}

void SerialTermPage::PostNcDestroy() {
    ClosePort();
    ui::PropertyPage::PostNcDestroy();
}
