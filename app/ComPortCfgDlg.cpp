#include "app/ComPortCfgDlg.h"

#include "platform/DataExchange.h"
#include "platform/Profile.h"
#include "platform/ProfileValues.h"
#include "serial/EnumerateComPorts.h"

namespace profile = ui::profile;

ComPortCfgDlg::ComPortCfgDlg(ui::Window* parent, PortEnumerator enumerate)
    : ui::Dialog(IDD, parent), m_enumerate(std::move(enumerate)) {
    if (!m_enumerate) {
        m_enumerate = [](std::vector<PortName>& ports) { return EnumerateComPorts(ports); };
    }
    MapCommandRange(IDC_MODE_CONFIGURATOR, IDC_MODE_TERMINAL, &ComPortCfgDlg::OnModeRadio);
    MapCommand(IDC_PORT, &ComPortCfgDlg::FillPortList, ui::CBN_DROPDOWN);
}

ComPortCfgDlg::~ComPortCfgDlg() = default;

void ComPortCfgDlg::DoDataExchange(ui::DataExchange& dx) {
    ui::Dialog::DoDataExchange(dx);
    ui::DDX_Control(dx, IDC_PORT, m_cbPort);
    ui::DDX_Control(dx, IDC_BAUD, m_cbBaud);
    ui::DDX_Control(dx, IDC_FLOW, m_cbFlow);
    ui::DDX_Control(dx, IDC_PARITY, m_cbParity);
    ui::DDX_Control(dx, IDC_STOP_BITS, m_cbStopBits);
    ui::DDX_Radio(dx, IDC_MODE_CONFIGURATOR, m_modeRadio);
}

bool ComPortCfgDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    m_isShowing = true;
    LoadSettings();
    return true;
}

void ComPortCfgDlg::PostNcDestroy() {
    ui::Dialog::PostNcDestroy();
    m_isShowing = false;
}

void ComPortCfgDlg::LoadSettings() {
    FillPortList();
    FillList(m_cbBaud, BaudRateItems(),
             ui::GetProfileInt(profile::kSection, profile::kBaudRate, profile::kBaudRateDefault));
    FillList(m_cbParity, ParityItems(),
             ui::GetProfileInt(profile::kSection, profile::kParity, profile::kParityDefault));
    FillList(m_cbStopBits, StopBitItems(),
             ui::GetProfileInt(profile::kSection, profile::kStopBits, profile::kStopBitsDefault));

    const bool terminal =
        ui::GetProfileInt(profile::kSection, profile::kOpMode, profile::kOpModeDefault) == MODE_TERMINAL;
    m_modeRadio = terminal ? 1 : 0;
    m_opMode = terminal ? MODE_TERMINAL : MODE_CONFIGURATOR;
    UpdateData(false);
}

void ComPortCfgDlg::FillPortList() {
    m_enumerate(m_ports);
    m_cbPort.ResetContent();
    const std::u16string saved =
        ui::GetProfileString(profile::kSection, profile::kComPort, profile::kComPortDefault);
    for (const PortName& port : m_ports) {
        m_cbPort.AddString(port.ToUtf16());
    }
    // The list sorts as it goes, so the saved port's place is known only
    // once every name is in.
    for (int i = 0; i < m_cbPort.GetCount(); ++i) {
        if (m_cbPort.GetLBText(i) == saved) {
            m_cbPort.SetCurSel(i);
            m_portName = saved;
            return;
        }
    }
    m_cbPort.SetCurSel(0);
    m_portName = m_cbPort.GetWindowText();
}

void ComPortCfgDlg::OnModeRadio(ui::UINT id) {
    m_opMode = id == IDC_MODE_CONFIGURATOR ? MODE_CONFIGURATOR : MODE_TERMINAL;
}

void ComPortCfgDlg::OnOK() {
    UpdateData(true);
    m_opMode = m_modeRadio != 0 ? MODE_TERMINAL : MODE_CONFIGURATOR;
    ui::WriteProfileInt(profile::kSection, profile::kOpMode, m_opMode);

    const int portSel = m_cbPort.GetCurSel();
    if (portSel != ui::CB_ERR) {
        std::u16string port = m_cbPort.GetLBText(portSel);
        if (port.empty()) {
            m_portName.clear();
        } else {
            m_portName = std::move(port);
            ui::WriteProfileString(profile::kSection, profile::kComPort, m_portName);
        }
    }

    ui::ComboBox::ItemData value = 0;
    if (!SelectedValue(m_cbBaud, value)) {
        m_baudRate = profile::kBaudRateDefault;
    } else if (value != static_cast<ui::ComboBox::ItemData>(ui::CB_ERR)) {
        m_baudRate = static_cast<uint32_t>(value);
        ui::WriteProfileInt(profile::kSection, profile::kBaudRate, static_cast<int>(m_baudRate));
    }

    m_parity = SelectedValue(m_cbParity, value) ? static_cast<char>(value) : 'N';
    ui::WriteProfileInt(profile::kSection, profile::kParity, m_parity);

    m_stopBits = SelectedValue(m_cbStopBits, value) ? static_cast<uint8_t>(value) : 1;
    ui::WriteProfileInt(profile::kSection, profile::kStopBits, m_stopBits);

    m_flowControl = 0;
    ui::Dialog::OnOK();
}

void ComPortCfgDlg::FillList(ui::ComboBox& combo, const ComboItems& items, int selected) {
    combo.ResetContent();
    for (const auto& [text, value] : items)
        combo.SetItemData(combo.AddString(text), value);
    for (int i = 0; i < combo.GetCount(); ++i) {
        if (combo.GetItemData(i) == static_cast<ui::ComboBox::ItemData>(selected)) {
            combo.SetCurSel(i);
            return;
        }
    }
    combo.SetCurSel(-1);
}

bool ComPortCfgDlg::SelectedValue(const ui::ComboBox& combo, ui::ComboBox::ItemData& value) {
    const int sel = combo.GetCurSel();
    if (sel == ui::CB_ERR) return false;
    value = combo.GetItemData(sel);
    return true;
}
