#pragma once

// The program's only top-level window (template 102, menu 131). It hosts the
// configurator page (mode 1) and the serial terminal page (mode 2), of which
// exactly one is shown, runs the COM port settings dialog and the About box,
// and decides when a port is opened and closed and in which mode: it closes
// both pages' ports, waits, and opens the chosen page's port with the chosen
// settings. It never reads or writes a port itself. Window thread only.

#include <cstdint>

#include "app/ComPortCfgDlg.h"
#include "config/TarnelConfPage.h"
#include "platform/Dialog.h"
#include "platform/Image.h"
#include "platform/Static.h"
#include "platform/StatusBar.h"
#include "terminal/SerialTermPage.h"

class CTarnelManagerDlg : public ui::Dialog {
public:
    static constexpr int IDD = 102;
    static constexpr int IDC_PLACEHOLDER = 1004;
    static constexpr int ID_SETUP_COM_PORT = 32772;
    static constexpr int ID_APP_ABOUT = 57664;
    static constexpr ui::UINT IDM_ABOUTBOX = 0x10;
    static constexpr int IDS_ABOUTBOX = 101;
    static constexpr int IDS_PORT_CLOSED = 107;
    static constexpr int IDS_OPEN_FAILED = 108;
    static constexpr int IDS_APP_VERSION = 109;
    static constexpr int IDR_MAINFRAME = 128;

    // Posted to itself after the COM port dialog's OK; no parameters (the
    // settings come from the COM port dialog).
    static constexpr ui::UINT WM_REOPEN_PORT = ui::WM_APP + 0x836;

    // `enumerate` lists the ports for the COM port dialog; the system's list
    // when left empty.
    explicit CTarnelManagerDlg(ComPortCfgDlg::PortEnumerator enumerate = {});
    ~CTarnelManagerDlg() override;

    // Hides both pages and shows the one of `mode` (1 configurator, 2 serial
    // terminal), fitting the window to it; any other mode shows nothing and
    // keeps the current mode.
    void ShowPage(int mode);
    // The mode of the page shown now.
    int CurrentMode() const { return m_curMode; }

    TarnelConfPage& ConfPage() { return m_confPage; }
    SerialTermPage& TermPage() { return m_termPage; }
    ui::StatusBar& StatusBar() { return m_statusBar; }

    bool PreTranslateMessage(const ui::MSG& msg) override;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    // Enter never closes the main window.
    void OnOK() override {}

private:
    void AddAboutToSystemMenu();
    void CreatePages();
    void CreateStatusBar();
    void ShowVersion();
    void FitToPage(ui::Window& page, const ui::RECT& pageRect);
    // Grows the window by the status bar's height below the page area.
    void MakeRoomForStatusBar(int clientWidth, int pageAreaHeight);
    void ShowAboutBox();
    void OnSetupComPort();
    ui::LRESULT OnReopenPort(ui::WPARAM wParam, ui::LPARAM lParam);
    ui::LRESULT OnSysCommand(ui::WPARAM wParam, ui::LPARAM lParam);
    ui::LRESULT OnHelpInfo(ui::WPARAM wParam, ui::LPARAM lParam);

    ui::Image m_hIcon;
    TarnelConfPage m_confPage;
    SerialTermPage m_termPage;
    ui::RECT m_rcClient{};
    ui::RECT m_rcPlaceholder{};
    ui::RECT m_rcConfPage{};
    ui::RECT m_rcTermPage{};
    ComPortCfgDlg m_comPortDlg;
    ui::Static m_placeholder;
    ui::StatusBar m_statusBar;
    int m_curMode = ComPortCfgDlg::MODE_CONFIGURATOR;
};
