#pragma once

#include <cstdint>
#include <string_view>
#include <system_error>

#include "platform/Button.h"
#include "platform/PropertyPage.h"
#include "terminal/CHistoryCombo.h"
#include "terminal/TermRichedit.h"

// The serial terminal page (template 108): the terminal view, the input line
// with its history, Send, and the CR, LF and hexadecimal check boxes. It opens
// and closes the terminal's port for the main dialog, sends typed lines,
// keeps the line-end choice in the profile and turns a serial error into a
// message and a fresh COM port dialog. Window thread only, except
// OnTermError.
class SerialTermPage : public ui::PropertyPage {
public:
    static constexpr int IDD = 108;
    static constexpr int IDC_TERM_VIEW = 1075;
    static constexpr int IDC_SEND = 1076;
    static constexpr int IDC_LINE_END_CR = 1083;
    static constexpr int IDC_LINE_END_LF = 1084;
    static constexpr int IDC_HEX = 1085;
    static constexpr int IDC_HISTORY = 1086;
    // The main window's "Setup COM port" command.
    static constexpr int ID_SETUP_COM_PORT = 32772;
    static constexpr int IDS_SERIAL_ERROR = 106;

    // Posted by OnTermError: wParam the error code's value, lParam 0.
    static constexpr ui::UINT WM_PORT_ERROR = ui::WM_APP + 0x835;

    SerialTermPage();

    // Opens the terminal's port (the serial parameters of CSerialportMP::Open)
    // and enables the controls. Returns the channel's error: empty on success;
    // on failure nothing changes.
    std::error_code OpenPort(std::u16string_view port, uint32_t baud, uint8_t parity, uint8_t stopBits,
                             uint8_t flowControl, uint8_t charSize);
    // Closes the port if open, empties the view and disables the controls.
    void ClosePort();
    void EnableControls(bool enable);

    // The view's error callback, on its I/O thread: reports the error to the
    // window thread once the port is still open.
    void OnTermError(const TermRichedit* source, std::error_code& error);

    bool PreTranslateMessage(const ui::MSG& msg) override;

    TermRichedit m_view;
    ui::Button m_chkCR;
    ui::Button m_chkLF;
    ui::Button m_chkHex;
    CHistoryCombo m_history;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void PostNcDestroy() override;

private:
    void OnSend();
    void OnLineEndCR();
    void OnLineEndLF();
    void ApplyLineEnds();
    void PostSend();
    ui::LRESULT OnHistoryEnter(ui::WPARAM wParam, ui::LPARAM lParam);
    ui::LRESULT OnPortError(ui::WPARAM wParam, ui::LPARAM lParam);
};
