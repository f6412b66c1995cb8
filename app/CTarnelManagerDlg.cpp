#include "app/CTarnelManagerDlg.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <system_error>
#include <thread>

#include "app/CAboutDlg.h"
#include "platform/DataExchange.h"
#include "platform/FromAnsi.h"
#include "platform/LoadString.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "res/FixedTexts.h"
#include "res/ResourceTypes.h"
#include "serial/SerialLine.h"

namespace {

constexpr unsigned CHARACTER_SIZE = 8;

struct SerialParameters {
    uint8_t parity;
    uint8_t stopBits;
    uint8_t flowControl;
};

SerialParameters ToSerialParameters(const ComPortCfgDlg& choice) {
    SerialParameters p{};
    p.parity = ParityFromLetter(choice.m_parity);
    p.stopBits = StopBitsFromCount(choice.m_stopBits);
    p.flowControl = choice.m_flowControl == 1 ? FLOW_HARDWARE : FLOW_NONE;
    return p;
}

std::u16string PortStatusText(const std::u16string& port, uint32_t baud, const SerialParameters& p) {
    const std::string digits = std::to_string(baud);
    std::u16string text = port;
    text.append(u", ").append(digits.begin(), digits.end());
    text.append(u", ").append(res::kParityWords[p.parity]);
    text.append(u", ").append(res::kStopBitsWords[p.stopBits]);
    text.append(u", ").append(res::kFlowControlWords[p.flowControl]);
    return text;
}

ui::RECT WindowRectInParent(const ui::Window& window, const ui::Window& parent) {
    ui::RECT rect;
    window.GetWindowRect(rect);
    parent.ScreenToClient(rect);
    return rect;
}

}  // namespace

CTarnelManagerDlg::CTarnelManagerDlg(ComPortCfgDlg::PortEnumerator enumerate)
    : ui::Dialog(IDD), m_comPortDlg(this, std::move(enumerate)) {
    m_hIcon = ui::Image::FromPng(res::FindBinary("ICON", IDR_MAINFRAME));
    MapMessage(ui::WM_SYSCOMMAND, &CTarnelManagerDlg::OnSysCommand);
    MapMessage(ui::WM_HELP, &CTarnelManagerDlg::OnHelpInfo);
    MapCommand(ID_APP_ABOUT, &CTarnelManagerDlg::ShowAboutBox);
    MapCommand(ID_SETUP_COM_PORT, &CTarnelManagerDlg::OnSetupComPort);
    MapMessage(WM_REOPEN_PORT, &CTarnelManagerDlg::OnReopenPort);
}

CTarnelManagerDlg::~CTarnelManagerDlg() = default;

void CTarnelManagerDlg::DoDataExchange(ui::DataExchange& dx) {
    ui::Dialog::DoDataExchange(dx);
    ui::DDX_Control(dx, IDC_PLACEHOLDER, m_placeholder);
}

bool CTarnelManagerDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    AddAboutToSystemMenu();
    SetIcon(m_hIcon);
    GetClientRect(m_rcClient);
    m_rcPlaceholder = WindowRectInParent(m_placeholder, *this);
    CreatePages();
    CreateStatusBar();
    OnSetupComPort();
    return true;
}

bool CTarnelManagerDlg::PreTranslateMessage(const ui::MSG& msg) {
    if (msg.message == ui::WM_KEYDOWN && msg.wParam == ui::VK_ESCAPE) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}

void CTarnelManagerDlg::AddAboutToSystemMenu() {
    ui::Menu* menu = GetSystemMenu();
    const std::u16string text = ui::LoadString(IDS_ABOUTBOX);
    if (menu == nullptr || text.empty()) return;
    menu->AppendMenu(ui::MF_SEPARATOR);
    menu->AppendMenu(ui::MF_STRING, IDM_ABOUTBOX, text);
}

void CTarnelManagerDlg::CreatePages() {
    m_confPage.Create(this);
    m_rcConfPage = WindowRectInParent(m_confPage, *this);
    m_confPage.MoveWindow(m_rcPlaceholder);
    m_confPage.ShowWindow(ui::SW_SHOW);

    m_termPage.Create(this);
    m_rcTermPage = WindowRectInParent(m_termPage, *this);
    m_termPage.MoveWindow(m_rcPlaceholder);
    m_termPage.ShowWindow(ui::SW_HIDE);
}

void CTarnelManagerDlg::CreateStatusBar() {
    m_statusBar.Create(this);
    m_statusBar.SetIndicators({IDS_PORT_CLOSED, IDS_APP_VERSION});
    // The port's settings take the room the version leaves: a port path is
    // long on Linux, and the pane grows with the window.
    m_statusBar.SetPaneInfo(0, IDS_PORT_CLOSED, ui::SBPS_STRETCH, 0);
    m_statusBar.SetPaneText(1, u"");
    ShowVersion();
    MakeRoomForStatusBar(m_rcClient.Width(), m_rcClient.Height());
}

void CTarnelManagerDlg::ShowVersion() {
    std::u16string version;
    if (CAboutDlg::GetProductVersionText(version)) version = std::u16string(res::kVersionPrefix) + version;
    m_statusBar.SetPaneInfo(1, IDS_APP_VERSION, ui::SBPS_NORMAL, m_statusBar.GetPaneWidthFor(1, version));
    m_statusBar.SetPaneText(1, version);
}

void CTarnelManagerDlg::MakeRoomForStatusBar(int clientWidth, int pageAreaHeight) {
    SetClientSize(clientWidth, pageAreaHeight + m_statusBar.GetBarHeight());
}

void CTarnelManagerDlg::ShowPage(int mode) {
    if (m_confPage.IsWindow()) m_confPage.ShowWindow(ui::SW_HIDE);
    if (m_termPage.IsWindow()) m_termPage.ShowWindow(ui::SW_HIDE);
    if (mode == ComPortCfgDlg::MODE_CONFIGURATOR) {
        FitToPage(m_confPage, m_rcConfPage);
        m_confPage.ShowWindow(ui::SW_SHOW);
        m_curMode = mode;
    } else if (mode == ComPortCfgDlg::MODE_TERMINAL) {
        FitToPage(m_termPage, m_rcTermPage);
        m_termPage.ShowWindow(ui::SW_SHOW);
        m_curMode = mode;
    }
}

void CTarnelManagerDlg::FitToPage(ui::Window& page, const ui::RECT& pageRect) {
    // The page area never grows beyond the placeholder; a smaller page
    // shrinks it and the window with it.
    const int dx = std::min(0, pageRect.Width() - m_rcPlaceholder.Width());
    const int dy = std::min(0, pageRect.Height() - m_rcPlaceholder.Height());
    const int cx = m_rcPlaceholder.Width() + dx;
    const int cy = m_rcPlaceholder.Height() + dy;
    m_placeholder.MoveWindow(m_rcPlaceholder.left, m_rcPlaceholder.top, cx, cy);
    page.MoveWindow(m_rcPlaceholder.left, m_rcPlaceholder.top, cx, cy);
    MakeRoomForStatusBar(m_rcClient.Width() + dx, m_rcClient.Height() + dy);
    Invalidate();
}

void CTarnelManagerDlg::ShowAboutBox() {
    CAboutDlg about(this);
    about.DoModal();
}

void CTarnelManagerDlg::OnSetupComPort() {
    // Pages post this command when they give up their port, possibly while
    // the dialog is already up.
    if (m_comPortDlg.m_isShowing) return;
    if (m_curMode == ComPortCfgDlg::MODE_CONFIGURATOR && m_confPage.IsPortOpen()) {
        m_confPage.ResetModule();
    }
    if (IsWindow()) {
        m_statusBar.SetPaneText(0, ui::LoadString(IDS_PORT_CLOSED));
        m_statusBar.UpdateWindow();
    }
    if (m_comPortDlg.DoModal() == ui::IDOK) {
        ShowPage(m_comPortDlg.m_opMode);
        PostMessage(WM_REOPEN_PORT, 0, 0);
    } else {
        m_confPage.ClosePort();
        m_termPage.ClosePort();
        ShowPage(m_comPortDlg.m_opMode);
    }
}

ui::LRESULT CTarnelManagerDlg::OnReopenPort(ui::WPARAM, ui::LPARAM) {
    m_confPage.ClosePort();
    m_termPage.ClosePort();
    // A module or adapter that was just released gets a moment before the
    // port is opened again.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    const SerialParameters p = ToSerialParameters(m_comPortDlg);
    const std::u16string& port = m_comPortDlg.m_portName;
    const uint32_t baud = m_comPortDlg.m_baudRate;
    const std::error_code error =
        m_curMode == ComPortCfgDlg::MODE_CONFIGURATOR
            ? m_confPage.OpenPort(port, baud, p.parity, p.stopBits, p.flowControl, CHARACTER_SIZE)
            : m_termPage.OpenPort(port, baud, p.parity, p.stopBits, p.flowControl, CHARACTER_SIZE);
    if (error) {
        ui::AfxMessageBox(ui::LoadString(IDS_OPEN_FAILED) + u": " + ui::FromAnsi(error.message()),
                          ui::MB_OK | ui::MB_ICONERROR);
        return 0;
    }
    m_statusBar.SetPaneText(0, PortStatusText(port, baud, p), 0, port.size());
    return 0;
}

ui::LRESULT CTarnelManagerDlg::OnSysCommand(ui::WPARAM wParam, ui::LPARAM) {
    if ((wParam & 0xFFF0u) == IDM_ABOUTBOX) ShowAboutBox();
    return 0;
}

ui::LRESULT CTarnelManagerDlg::OnHelpInfo(ui::WPARAM, ui::LPARAM) {
    return 1;
}
