#pragma once

// The COM port settings dialog (template 131): the port, baud rate, parity,
// stop bits and operation mode. It shows the saved choices when it opens,
// lists the ports afresh each time the port list drops down, and on OK
// stores the choices in the profile and keeps them in its members for the
// main dialog. It opens no port itself. Window thread only.

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "controls/LineSettingItems.h"
#include "platform/ComboBox.h"
#include "platform/Dialog.h"
#include "serial/PortName.h"

class ComPortCfgDlg : public ui::Dialog {
public:
    static constexpr int IDD = 131;
    static constexpr int IDC_PARITY = 1023;
    static constexpr int IDC_STOP_BITS = 1024;
    static constexpr int IDC_BAUD = 1077;
    static constexpr int IDC_PORT = 1079;
    static constexpr int IDC_MODE_CONFIGURATOR = 1081;
    static constexpr int IDC_MODE_TERMINAL = 1082;
    static constexpr int IDC_FLOW = 1087;

    static constexpr uint8_t MODE_CONFIGURATOR = 1;
    static constexpr uint8_t MODE_TERMINAL = 2;

    // Fills the list with the port names the system knows now; the result
    // code is not looked at.
    using PortEnumerator = std::function<std::error_code(std::vector<PortName>&)>;

    // `enumerate` lists the ports; the system's list when left empty.
    explicit ComPortCfgDlg(ui::Window* parent = nullptr, PortEnumerator enumerate = {});
    ~ComPortCfgDlg() override;

    // The choices. After OK they hold what was confirmed. After Cancel the
    // baud rate, parity, stop bits and flow control keep their earlier values,
    // while m_opMode holds the saved mode or the mode clicked last and
    // m_portName the port the list proposed.
    std::vector<PortName> m_ports;  // the last enumeration
    std::u16string m_portName = u"COM1";
    uint32_t m_baudRate = 9600;
    char m_parity = 'N';     // 'N' none, 'E' even, 'O' odd
    uint8_t m_stopBits = 1;  // 1 or 2
    // 1 would mean hardware handshake. Always 0: the dialog offers no choice
    // (combo 1087 and its label stay hidden and unfilled, as the template has
    // them). It stays because the main dialog opens the port and words the
    // status bar with it, the same way as the other line settings.
    uint8_t m_flowControl = 0;
    uint8_t m_opMode = MODE_CONFIGURATOR;
    // True while the dialog's window exists.
    std::atomic<bool> m_isShowing{false};

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void PostNcDestroy() override;

private:
    void LoadSettings();
    void FillPortList();
    void OnModeRadio(ui::UINT id);
    // Empties `combo`, adds `items` with their values as item data and
    // selects the item whose value is `selected` (none when none is).
    static void FillList(ui::ComboBox& combo, const ComboItems& items, int selected);
    // Whether an item is selected; if so its value goes into `value`.
    static bool SelectedValue(const ui::ComboBox& combo, ui::ComboBox::ItemData& value);

    PortEnumerator m_enumerate;
    int m_modeRadio = 0;  // 0 configurator, 1 serial terminal
    ui::ComboBox m_cbPort;
    ui::ComboBox m_cbBaud;
    ui::ComboBox m_cbFlow;  // hidden, never filled (see m_flowControl)
    ui::ComboBox m_cbParity;
    ui::ComboBox m_cbStopBits;
};
