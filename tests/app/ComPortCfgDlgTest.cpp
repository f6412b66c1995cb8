#include "app/ComPortCfgDlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/TestHooks.h"
#include "tests/app/DialogDriver.h"
#include "tests/app/ScopedProfile.h"
#include "tests/support/ModalRecorder.h"

namespace {

using namespace tarnel::app::test;
namespace profile = ui::profile;

class ComPortCfgDlgTest : public testing::Test {
protected:
    // Runs the dialog modally; `user` acts on it while it shows and must end it.
    int Run(const std::function<void(ComPortCfgDlg&)>& user) {
        ui::test::ModalRecorder recorder([&](ui::Dialog& dlg) { user(dynamic_cast<ComPortCfgDlg&>(dlg)); });
        return m_dlg.DoModal();
    }

    ScopedProfile m_profile;
    std::vector<std::string> m_systemPorts = {"COM1"};
    int m_enumerations = 0;
    ComPortCfgDlg m_dlg{nullptr, [this](std::vector<PortName>& ports) {
                            ++m_enumerations;
                            ports.assign(m_systemPorts.begin(), m_systemPorts.end());
                            return std::error_code{};
                        }};
};

TEST_F(ComPortCfgDlgTest, ListsPortsInTextOrderAndSelectsTheSavedOne) {
    m_systemPorts = {"COM1", "COM3", "COM10"};
    ScopedProfile::Set(profile::kComPort, u"COM3");
    Run([](ComPortCfgDlg& dlg) {
        EXPECT_EQ(Items(dlg, ComPortCfgDlg::IDC_PORT),
                  (std::vector<std::u16string>{u"COM1", u"COM10", u"COM3"}));
        EXPECT_EQ(Selected(dlg, ComPortCfgDlg::IDC_PORT), u"COM3");
        EXPECT_EQ(dlg.m_portName, u"COM3");
        dlg.EndDialog(ui::IDCANCEL);
    });
}

TEST_F(ComPortCfgDlgTest, ProposesTheFirstPortWhenTheSavedOneIsGoneAndNothingWithoutPorts) {
    struct Case {
        std::vector<std::string> ports;
        std::u16string proposed;
    };
    const Case cases[] = {
        {{"/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyUSB0"}, u"/dev/ttyACM0"},
        {{}, u""},
    };
    ScopedProfile::Set(profile::kComPort, u"COM3");
    for (const Case& c : cases) {
        m_systemPorts = c.ports;
        Run([&](ComPortCfgDlg& dlg) {
            EXPECT_EQ(dlg.m_portName, c.proposed);
            EXPECT_EQ(Combo(dlg, ComPortCfgDlg::IDC_PORT).GetWindowText(), c.proposed);
            dlg.EndDialog(ui::IDCANCEL);
        });
    }
}

TEST_F(ComPortCfgDlgTest, DroppingTheListDownListsNewPortsAndSelectsTheSavedOneAgain) {
    m_systemPorts = {"COM1", "COM3"};
    ScopedProfile::Set(profile::kComPort, u"COM3");
    Run([this](ComPortCfgDlg& dlg) {
        const int before = m_enumerations;
        m_systemPorts = {"COM1", "COM3", "COM5"};
        DropDown(dlg, ComPortCfgDlg::IDC_PORT);
        EXPECT_EQ(m_enumerations, before + 1);
        EXPECT_EQ(Items(dlg, ComPortCfgDlg::IDC_PORT),
                  (std::vector<std::u16string>{u"COM1", u"COM3", u"COM5"}));

        ASSERT_TRUE(Pick(dlg, ComPortCfgDlg::IDC_PORT, u"COM5"));
        DropDown(dlg, ComPortCfgDlg::IDC_PORT);
        EXPECT_EQ(Selected(dlg, ComPortCfgDlg::IDC_PORT), u"COM3");
        dlg.EndDialog(ui::IDCANCEL);
    });
}

TEST_F(ComPortCfgDlgTest, OffersTheSortedListsAndTheSavedChoices) {
    ScopedProfile::Set(profile::kBaudRate, 115200);
    ScopedProfile::Set(profile::kParity, 'O');
    ScopedProfile::Set(profile::kStopBits, 2);
    ScopedProfile::Set(profile::kOpMode, 2);
    Run([](ComPortCfgDlg& dlg) {
        EXPECT_EQ(Items(dlg, ComPortCfgDlg::IDC_BAUD),
                  (std::vector<std::u16string>{u"9600", u"19200", u"38400", u"57600", u"115200", u"230400",
                                               u"460800"}));
        EXPECT_EQ(Items(dlg, ComPortCfgDlg::IDC_PARITY),
                  (std::vector<std::u16string>{u"EVEN", u"NONE", u"ODD"}));
        EXPECT_EQ(Items(dlg, ComPortCfgDlg::IDC_STOP_BITS), (std::vector<std::u16string>{u"1", u"2"}));
        EXPECT_EQ(Selected(dlg, ComPortCfgDlg::IDC_BAUD), u"115200");
        EXPECT_EQ(Selected(dlg, ComPortCfgDlg::IDC_PARITY), u"ODD");
        EXPECT_EQ(Selected(dlg, ComPortCfgDlg::IDC_STOP_BITS), u"2");
        EXPECT_EQ(dlg.IsDlgButtonChecked(ComPortCfgDlg::IDC_MODE_TERMINAL), ui::BST_CHECKED);
        EXPECT_EQ(dlg.IsDlgButtonChecked(ComPortCfgDlg::IDC_MODE_CONFIGURATOR), ui::BST_UNCHECKED);
        EXPECT_EQ(dlg.m_opMode, ComPortCfgDlg::MODE_TERMINAL);
        dlg.EndDialog(ui::IDCANCEL);
    });
}

TEST_F(ComPortCfgDlgTest, FirstRunOkStoresTheDefaults) {
    EXPECT_EQ(Run([](ComPortCfgDlg& dlg) { Click(dlg, ui::IDOK); }), ui::IDOK);
    EXPECT_EQ(ScopedProfile::Int(profile::kOpMode), 1);
    EXPECT_EQ(ScopedProfile::String(profile::kComPort), u"COM1");
    EXPECT_EQ(ScopedProfile::Int(profile::kBaudRate), 9600);
    EXPECT_EQ(ScopedProfile::Int(profile::kParity), 78);
    EXPECT_EQ(ScopedProfile::Int(profile::kStopBits), 1);
    EXPECT_EQ(m_dlg.m_portName, u"COM1");
    EXPECT_EQ(m_dlg.m_baudRate, 9600u);
    EXPECT_EQ(m_dlg.m_parity, 'N');
    EXPECT_EQ(m_dlg.m_stopBits, 1);
    EXPECT_EQ(m_dlg.m_flowControl, 0);
    EXPECT_EQ(m_dlg.m_opMode, ComPortCfgDlg::MODE_CONFIGURATOR);
}

TEST_F(ComPortCfgDlgTest, OkStoresTheChoicesAndTheNextRunProposesThem) {
    m_systemPorts = {"COM1", "COM3"};
    Run([](ComPortCfgDlg& dlg) {
        ASSERT_TRUE(Pick(dlg, ComPortCfgDlg::IDC_PORT, u"COM3"));
        ASSERT_TRUE(Pick(dlg, ComPortCfgDlg::IDC_BAUD, u"115200"));
        ASSERT_TRUE(Pick(dlg, ComPortCfgDlg::IDC_PARITY, u"EVEN"));
        ASSERT_TRUE(Pick(dlg, ComPortCfgDlg::IDC_STOP_BITS, u"2"));
        Click(dlg, ComPortCfgDlg::IDC_MODE_TERMINAL);
        Click(dlg, ui::IDOK);
    });
    EXPECT_EQ(ScopedProfile::String(profile::kComPort), u"COM3");
    EXPECT_EQ(ScopedProfile::Int(profile::kBaudRate), 115200);
    EXPECT_EQ(ScopedProfile::Int(profile::kParity), 69);
    EXPECT_EQ(ScopedProfile::Int(profile::kStopBits), 2);
    EXPECT_EQ(ScopedProfile::Int(profile::kOpMode), 2);
    EXPECT_EQ(m_dlg.m_parity, 'E');
    EXPECT_EQ(m_dlg.m_stopBits, 2);
    EXPECT_EQ(m_dlg.m_opMode, ComPortCfgDlg::MODE_TERMINAL);

    Run([](ComPortCfgDlg& dlg) {
        EXPECT_EQ(Selected(dlg, ComPortCfgDlg::IDC_PORT), u"COM3");
        EXPECT_EQ(Selected(dlg, ComPortCfgDlg::IDC_BAUD), u"115200");
        EXPECT_EQ(Selected(dlg, ComPortCfgDlg::IDC_PARITY), u"EVEN");
        EXPECT_EQ(Selected(dlg, ComPortCfgDlg::IDC_STOP_BITS), u"2");
        EXPECT_EQ(dlg.IsDlgButtonChecked(ComPortCfgDlg::IDC_MODE_TERMINAL), ui::BST_CHECKED);
        dlg.EndDialog(ui::IDCANCEL);
    });
}

TEST_F(ComPortCfgDlgTest, CancelWritesNothingButKeepsTheModeClickedLast) {
    EXPECT_EQ(Run([](ComPortCfgDlg& dlg) {
                  ASSERT_TRUE(Pick(dlg, ComPortCfgDlg::IDC_BAUD, u"57600"));
                  Click(dlg, ComPortCfgDlg::IDC_MODE_TERMINAL);
                  Click(dlg, ui::IDCANCEL);
              }),
              ui::IDCANCEL);
    EXPECT_TRUE(m_profile.IsEmpty());
    EXPECT_EQ(ScopedProfile::Int(profile::kOpMode), -1);
    EXPECT_EQ(ScopedProfile::String(profile::kComPort), u"<none>");
    EXPECT_EQ(m_dlg.m_opMode, ComPortCfgDlg::MODE_TERMINAL);
    EXPECT_EQ(m_dlg.m_baudRate, 9600u);
}

TEST_F(ComPortCfgDlgTest, SavedValuesThatMatchNoItemShowNoSelectionAndOkStoresTheFallbacks) {
    ScopedProfile::Set(profile::kBaudRate, 1234);
    ScopedProfile::Set(profile::kParity, 83);
    ScopedProfile::Set(profile::kStopBits, 3);
    ScopedProfile::Set(profile::kOpMode, 7);
    m_dlg.m_baudRate = 57600;
    Run([](ComPortCfgDlg& dlg) {
        EXPECT_EQ(Selected(dlg, ComPortCfgDlg::IDC_BAUD), u"<none>");
        EXPECT_EQ(Selected(dlg, ComPortCfgDlg::IDC_PARITY), u"<none>");
        EXPECT_EQ(Selected(dlg, ComPortCfgDlg::IDC_STOP_BITS), u"<none>");
        EXPECT_EQ(dlg.IsDlgButtonChecked(ComPortCfgDlg::IDC_MODE_CONFIGURATOR), ui::BST_CHECKED);
        Click(dlg, ui::IDOK);
    });
    EXPECT_EQ(ScopedProfile::Int(profile::kParity), 78);
    EXPECT_EQ(ScopedProfile::Int(profile::kStopBits), 1);
    EXPECT_EQ(ScopedProfile::Int(profile::kOpMode), 1);
    // The baud rate falls back in the member only: the store keeps its value.
    EXPECT_EQ(ScopedProfile::Int(profile::kBaudRate), 1234);
    EXPECT_EQ(m_dlg.m_baudRate, 9600u);
}

TEST_F(ComPortCfgDlgTest, OkWithoutAnyPortStoresNoPortName) {
    m_systemPorts.clear();
    ScopedProfile::Set(profile::kComPort, u"COM3");
    Run([](ComPortCfgDlg& dlg) { Click(dlg, ui::IDOK); });
    EXPECT_EQ(m_dlg.m_portName, u"");
    EXPECT_EQ(ScopedProfile::String(profile::kComPort), u"COM3");
}

}  // namespace
