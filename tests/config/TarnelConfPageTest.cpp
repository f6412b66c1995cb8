#include "config/TarnelConfPage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "platform/BoxRequests.h"
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Edit.h"
#include "platform/ListCtrl.h"
#include "platform/SysColor.h"
#include "platform/TestHooks.h"
#include "tests/config/ConfPageFixtures.h"
#include "tests/support/HangGuard.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/PersonInput.h"

namespace {

using namespace std::chrono_literals;
using tarnel::sim::ModuleState;
using tarnel::sim::SimConfig;
using tarnel::test::ClickOn;
using tarnel::test::ConfPageHarness;
using tarnel::test::SearchConfig;
using tarnel::test::TarnelConfPageApply;
using tarnel::test::TarnelConfPageSearch;
using tarnel::test::TypeText;
using P = TarnelConfPage;
using Clock = std::chrono::steady_clock;

const std::vector<std::string> kCheck = {"AT", "AT+MODELNAME?"};
const std::vector<std::string> kRead = {"AT", "AT+QM?", "AT+VER?", "AT+INFO1?", "AT+INFO2?", "AT+TADDR?"};

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::u16string Selected(const ConfPageHarness& h, int comboId) {
    auto& combo = h.Get<ui::ComboBox>(comboId);
    return combo.GetLBText(combo.GetCurSel());
}

std::vector<std::u16string> Row(const ConfPageHarness& h, int row) {
    auto& list = h.Get<ui::ListCtrl>(P::IDC_RESULT_LIST);
    return {list.GetItemText(row, 0), list.GetItemText(row, 1), list.GetItemText(row, 2),
            list.GetItemText(row, 3)};
}

bool SearchControlsEnabled(const ConfPageHarness& h) {
    return h.Enabled(P::IDC_SEARCH) && h.Enabled(P::IDC_TAKE_TARGET) && h.Enabled(P::IDC_CLEAR_TARGET) &&
           h.Enabled(P::IDC_RESULT_LIST) && h.Enabled(P::IDC_TARGET);
}

bool AnySearchControlEnabled(const ConfPageHarness& h) {
    return h.Enabled(P::IDC_SEARCH) || h.Enabled(P::IDC_TAKE_TARGET) || h.Enabled(P::IDC_CLEAR_TARGET) ||
           h.Enabled(P::IDC_RESULT_LIST) || h.Enabled(P::IDC_TARGET);
}

const std::vector<int> kUserControls = {1036, 1002, 1010, 1011, 1012, 1013, 1035, 1008, 1009, 1003,
                                        1029, 1030, 1031, 1032, 1038, 1016, 1020, 1015, 1017};

bool AllUserControlsDisabled(const ConfPageHarness& h) {
    for (int id : kUserControls) {
        if (h.Enabled(id)) return false;
    }
    return true;
}

// After giving up, the page has closed its port, emptied what it showed and
// asked the main window for the COM port settings.
void ExpectGaveUp(const ConfPageHarness& h) {
    EXPECT_FALSE(h.page.IsPortOpen());
    EXPECT_TRUE(AllUserControlsDisabled(h));
    EXPECT_EQ(h.Text(P::IDC_BD_ADDR), u"");
    EXPECT_EQ(h.Text(P::IDC_FW_VERSION), u"");
    EXPECT_EQ(h.mainWindow.SetupRequests(), 1);
    EXPECT_EQ(ui::test::WaitCursorCount(), 0);
}

// --- The page before any port ----------------------------------------------------

TEST(TarnelConfPageControls, StartWithTheDefaultsSelectedAndEmptyEdits) {
    ConfPageHarness h;
    EXPECT_EQ(Selected(h, P::IDC_BAUD), u"9600");
    EXPECT_EQ(Selected(h, P::IDC_PARITY), u"NONE");
    EXPECT_EQ(Selected(h, P::IDC_STOP_BITS), u"1");
    EXPECT_EQ(Selected(h, P::IDC_FLOW), u"OFF");
    EXPECT_EQ(Selected(h, P::IDC_RESPONSE), u"ON");
    EXPECT_EQ(h.page.IsDlgButtonChecked(P::IDC_OP_MODE_0), ui::BST_CHECKED);
    for (int id : {P::IDC_BD_ADDR, P::IDC_DEVICE_NAME, P::IDC_TARGET, P::IDC_FW_VERSION}) {
        EXPECT_EQ(h.Text(id), u"") << id;
    }
    EXPECT_EQ(h.Text(P::IDC_SEARCH), u"Search");
}

TEST(TarnelConfPageControls, ComboItemsCarryTheValuesTheModuleTakes) {
    ConfPageHarness h;
    struct Item {
        int combo;
        std::u16string text;
        ui::ComboBox::ItemData data;
    };
    const Item items[] = {{P::IDC_BAUD, u"9600", 9600},  {P::IDC_BAUD, u"460800", 460800},
                          {P::IDC_PARITY, u"EVEN", 'E'}, {P::IDC_PARITY, u"ODD", 'O'},
                          {P::IDC_STOP_BITS, u"2", 2},   {P::IDC_FLOW, u"ON", 1},
                          {P::IDC_RESPONSE, u"OFF", 1},  {P::IDC_RESPONSE, u"ON", 0}};
    for (const Item& item : items) {
        auto& combo = h.Get<ui::ComboBox>(item.combo);
        const int index = P::SelectByItemData(combo, item.data);
        ASSERT_GE(index, 0) << item.combo;
        EXPECT_EQ(combo.GetLBText(index), item.text);
    }
    EXPECT_EQ(h.Get<ui::ComboBox>(P::IDC_BAUD).GetCount(), 7);
    auto& stopBits = h.Get<ui::ComboBox>(P::IDC_STOP_BITS);
    P::SelectByItemData(stopBits, 2);
    EXPECT_EQ(P::SelectByItemData(stopBits, 3), -1);
    EXPECT_EQ(stopBits.GetLBText(stopBits.GetCurSel()), u"2");
}

TEST(TarnelConfPageControls, GroupBoxesAreCentredBoldAndOpenAtTheBottomButTheLast) {
    ConfPageHarness h;
    for (int id : {P::IDC_GB_DEVICE_INFO, P::IDC_GB_UART, P::IDC_GB_SEARCH, P::IDC_GB_OP_MODE}) {
        auto& box = h.Get<CXGroupBox>(id);
        EXPECT_EQ(box.m_frameStyle, id == P::IDC_GB_OP_MODE ? 0 : 2) << id;
        EXPECT_EQ(box.m_titleAlign, 1);
        EXPECT_FALSE(box.m_doubleLine);
        EXPECT_EQ(box.m_lineWidth, 1);
        EXPECT_EQ(box.m_frameColor, ui::RGB(44, 162, 162));
        EXPECT_TRUE(box.m_titleFont.IsBold());
    }
}

// --- Check and read ----------------------------------------------------------------

TEST(TarnelConfPageRead, ShowsTheModulesSettingsAndGivesTheControlsBack) {
    SimConfig config;
    config.settings.name = "Kitchen 1";
    config.settings.target = {0x00, 0x11, 0x22, 0x33, 0x44, 0xAA};
    ConfPageHarness h(config);
    ASSERT_FALSE(h.Open());
    EXPECT_TRUE(AllUserControlsDisabled(h));
    EXPECT_EQ(h.page.SendMessage(ui::WM_SETCURSOR), 1);
    ASSERT_TRUE(h.WaitIdle());

    EXPECT_EQ(h.Commands(), Concat({kCheck, kRead}));
    EXPECT_EQ(h.Text(P::IDC_BD_ADDR), u"001A7DDA7113");
    EXPECT_EQ(h.Text(P::IDC_DEVICE_NAME), u"Kitchen 1");
    EXPECT_EQ(h.Text(P::IDC_FW_VERSION), u"1.2.0");
    EXPECT_EQ(h.Text(P::IDC_TARGET), u"0011223344AA");
    EXPECT_EQ(Selected(h, P::IDC_BAUD), u"9600");
    EXPECT_EQ(Selected(h, P::IDC_FLOW), u"OFF");
    EXPECT_EQ(Selected(h, P::IDC_RESPONSE), u"ON");
    EXPECT_EQ(h.page.IsDlgButtonChecked(P::IDC_OP_MODE_0), ui::BST_CHECKED);
    for (int id : kUserControls)
        EXPECT_TRUE(h.Enabled(id)) << id;
    EXPECT_TRUE(h.BoxIds().empty());
    EXPECT_EQ(ui::test::WaitCursorCount(), 0);
    EXPECT_EQ(h.page.SendMessage(ui::WM_SETCURSOR), 0);

    h.Click(P::IDC_REFRESH);
    EXPECT_FALSE(h.Enabled(P::IDC_APPLY));
    ASSERT_TRUE(h.WaitIdle());
    EXPECT_EQ(h.Commands(), Concat({kCheck, kRead, kCheck, kRead}));
}

TEST(TarnelConfPageRead, ShowsWhatEachModuleReports) {
    struct Case {
        const char* what;
        std::string name;
        uint8_t opMode;
        uint8_t flow;
        tarnel::sim::BdAddress target;
        std::u16string shownName;
        int checkedRadio;
        bool searchAvailable;
    };
    const tarnel::sim::BdAddress none{};
    const tarnel::sim::BdAddress unset{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const Case cases[] = {
        {"32-byte name", std::string(32, 'n'), 0, 0, none, std::u16string(32, u'n'), P::IDC_OP_MODE_0, true},
        {"UTF-8 name", "거실 스피커", 3, 1, unset, u"거실 스피커", P::IDC_OP_MODE_3, true},
        {"mode 1", "A", 1, 0, none, u"A", P::IDC_OP_MODE_1, false},
        {"mode 2", "B", 2, 0, none, u"B", P::IDC_OP_MODE_2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimConfig config;
        config.settings.name = c.name;
        config.settings.opMode = c.opMode;
        config.settings.uart.flowControl = c.flow;
        config.settings.target = c.target;
        ConfPageHarness h(config);
        h.SetText(P::IDC_TARGET, u"typed");
        ASSERT_FALSE(h.Open());
        ASSERT_TRUE(h.WaitIdle());
        EXPECT_EQ(h.Text(P::IDC_DEVICE_NAME), c.shownName);
        EXPECT_EQ(h.page.IsDlgButtonChecked(c.checkedRadio), ui::BST_CHECKED);
        EXPECT_EQ(Selected(h, P::IDC_FLOW), c.flow ? u"ON" : u"OFF");
        // An unset target leaves the edit as it was.
        EXPECT_EQ(h.Text(P::IDC_TARGET), u"typed");
        if (c.searchAvailable) {
            EXPECT_TRUE(SearchControlsEnabled(h));
        } else {
            EXPECT_FALSE(AnySearchControlEnabled(h));
        }
    }
}

TEST(TarnelConfPageRead, ShowsTheOpenPortsRateOrKeepsTheSelectionForAnUnlistedOne) {
    for (uint32_t baud : {115200u, 4800u}) {
        SCOPED_TRACE(baud);
        SimConfig config;
        config.settings.uart.line.baud = baud;
        ConfPageHarness h(config);
        ASSERT_FALSE(h.Open(baud));
        ASSERT_TRUE(h.WaitIdle());
        EXPECT_EQ(Selected(h, P::IDC_BAUD), baud == 115200 ? u"115200" : u"9600");
    }
}

TEST(TarnelConfPageRead, SwitchesResponsesBackOnWhenTheModuleHasThemOff) {
    SimConfig config;
    config.settings.quietMode = true;
    ConfPageHarness h(config);
    ASSERT_FALSE(h.Open());
    ASSERT_TRUE(h.WaitIdle());
    const std::vector<ui::test::MessageBoxCall> calls = h.boxes.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].stringId, 125);
    EXPECT_EQ(calls[0].style, ui::MB_OK);
    EXPECT_FALSE(calls[0].fromWindowThread);
    EXPECT_EQ(h.Commands(), Concat({{"AT", "+++", "AT+QM?", "AT+QM=0", "AT+MODELNAME?"}, kRead}));
    EXPECT_FALSE(h.module.Snapshot().current.quietMode);
    EXPECT_EQ(Selected(h, P::IDC_RESPONSE), u"ON");
}

TEST(TarnelConfPageRead, AsksForTheResponseSettingWhenTheProbeFailsTwice) {
    SimConfig config;
    config.errorCommands = {"AT"};
    ConfPageHarness h(config);
    ASSERT_FALSE(h.Open());
    ASSERT_TRUE(h.WaitIdle());
    EXPECT_EQ(h.Commands(),
              (std::vector<std::string>{"AT", "AT", "AT+MODELNAME?", "AT", "AT", "AT+QM?", "AT+QM?",
                                        "AT+VER?", "AT+INFO1?", "AT+INFO2?", "AT+TADDR?"}));
    EXPECT_TRUE(h.BoxIds().empty());
}

TEST(TarnelConfPageRead, GivesUpWhenTheModuleDoesNotAnswer) {
    struct Case {
        const char* what;
        std::set<std::string> silent;
        std::set<std::string> errors;
        std::string lastCommand;
    };
    const Case cases[] = {
        {"model name unanswered", {"AT+MODELNAME?"}, {}, "AT+MODELNAME?"},
        {"probe fails twice, response setting unanswered", {"AT+QM?"}, {"AT"}, "AT+QM?"},
        {"version refused", {}, {"AT+VER?"}, "AT+VER?"},
        {"target unanswered", {"AT+TADDR?"}, {}, "AT+TADDR?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimConfig config;
        config.silentCommands = c.silent;
        config.errorCommands = c.errors;
        ConfPageHarness h(config);
        ASSERT_FALSE(h.Open());
        ASSERT_TRUE(h.WaitForBox(110));
        EXPECT_EQ(h.BoxIds(), std::vector<int>{110});
        EXPECT_EQ(h.StyleOf(110), ui::MB_ICONERROR);
        EXPECT_EQ(h.Commands().back(), c.lastCommand);
        ASSERT_TRUE(h.WaitFor([&] { return h.mainWindow.SetupRequests() == 1; }));
        ExpectGaveUp(h);
    }
}

TEST(TarnelConfPageRead, AWrongBaudRateEndsInMessage110) {
    ConfPageHarness h;  // the module runs at 9600
    ASSERT_FALSE(h.Open(19200));
    ASSERT_TRUE(h.WaitForBox(110, 20s));
    ASSERT_TRUE(h.WaitFor([&] { return h.mainWindow.SetupRequests() == 1; }));
    ExpectGaveUp(h);
    EXPECT_TRUE(h.module.Commands().empty());
}

// The reply grammar takes only modes 0 to 3, so a module reporting another
// mode is not understood at all.
TEST(TarnelConfPageRead, AnOperationModeOutsideZeroToThreeIsNotAccepted) {
    SimConfig config;
    config.replyOverrides = {{"AT+INFO1?", "\r\n+INFO1,001A7DDA7113,Tarnel,4,IDLE\r\n\r\nOK\r\n"}};
    ConfPageHarness h(config);
    ASSERT_FALSE(h.Open());
    ASSERT_TRUE(h.WaitForBox(110));
    ASSERT_TRUE(h.WaitFor([&] { return h.mainWindow.SetupRequests() == 1; }));
    ExpectGaveUp(h);
}

TEST(TarnelConfPageRead, CancelsWhatTheModuleIsDoingWithTheLimitOfItsState) {
    struct Case {
        ModuleState state;
        bool cancelled;
    };
    for (const Case& c : {Case{ModuleState::Idle, false}, Case{ModuleState::Scanning, true},
                          Case{ModuleState::Inquiring, true}, Case{ModuleState::Connecting, true}}) {
        SCOPED_TRACE(static_cast<int>(c.state));
        SimConfig config;
        config.state = c.state;
        ConfPageHarness h(config);
        ASSERT_FALSE(h.Open());
        ASSERT_TRUE(h.WaitIdle());
        EXPECT_EQ(h.CommandCount("AT+OPCANCEL"), c.cancelled ? 1 : 0);
        EXPECT_EQ(h.module.Snapshot().state, ModuleState::Idle);
        EXPECT_TRUE(h.BoxIds().empty());
    }
}

// An unanswered cancel ends by its limit: 5 s while connecting, 1.2 s else.
TEST(TarnelConfPageRead, WaitsLongerForTheCancelOfAConnection) {
    for (ModuleState state : {ModuleState::Connecting, ModuleState::Inquiring}) {
        SCOPED_TRACE(static_cast<int>(state));
        SimConfig config;
        config.state = state;
        config.silentCommands = {"AT+OPCANCEL"};
        ConfPageHarness h(config);
        ASSERT_FALSE(h.Open());
        ASSERT_TRUE(h.WaitForCommand("AT+OPCANCEL"));
        const auto sent = Clock::now();
        ASSERT_TRUE(h.WaitForBox(110));
        const auto waited = Clock::now() - sent;
        if (state == ModuleState::Connecting) {
            EXPECT_GE(waited, 4800ms);
        } else {
            EXPECT_GE(waited, 1100ms);
            EXPECT_LT(waited, 4000ms);
        }
        EXPECT_EQ(h.Commands().back(), "AT+OPCANCEL");
    }
}

TEST(TarnelConfPageRead, DisconnectsAConnectedModuleAndReadsAgain) {
    for (auto delay : {0ms, 300ms}) {
        SCOPED_TRACE(delay.count());
        SimConfig config;
        config.state = ModuleState::Connected;
        config.discReportDelay = delay;
        ConfPageHarness h(config);
        ASSERT_FALSE(h.Open());
        ASSERT_TRUE(h.WaitIdle());
        EXPECT_EQ(h.BoxIds(), std::vector<int>{129});
        EXPECT_EQ(h.StyleOf(129), ui::MB_ICONINFORMATION);
        // A connected module passes "AT\r" to its peer until the escape.
        EXPECT_EQ(h.Commands(),
                  Concat({{"AT", "+++", "AT+QM?", "AT+MODELNAME?"}, kRead, {"AT+DISC"}, kCheck, kRead}));
        EXPECT_EQ(h.module.Snapshot().state, ModuleState::Idle);
    }
}

// A module that keeps its link after a failed disconnect would be asked
// again for ever; the page gives up on it instead.
TEST(TarnelConfPageRead, GivesUpWhenTheModuleStaysConnectedAfterAFailedDisconnect) {
    for (bool silent : {true, false}) {
        SCOPED_TRACE(silent ? "unanswered" : "refused");
        SimConfig config;
        config.state = ModuleState::Connected;
        (silent ? config.silentCommands : config.errorCommands) = {"AT+DISC"};
        ConfPageHarness h(config);
        ASSERT_FALSE(h.Open());
        ASSERT_TRUE(h.WaitFor([&] { return h.mainWindow.SetupRequests() == 1; }));
        h.Settle(500ms);
        EXPECT_EQ(h.BoxIds(), (std::vector<int>{129, 130}));
        EXPECT_EQ(h.StyleOf(130), ui::MB_ICONERROR);
        EXPECT_EQ(h.CommandCount("AT+DISC"), 1);
        EXPECT_EQ(h.CommandCount("AT+MODELNAME?"), 2);
        ExpectGaveUp(h);
    }
}

// The report came after the page stopped waiting for it, but the module did
// let go of its link: the read after message 130 finds it idle.
TEST(TarnelConfPageRead, ALateDisconnectionReportGoesOnWithTheIdleModule) {
    SimConfig config;
    config.state = ModuleState::Connected;
    config.discReportDelay = 1500ms;
    ConfPageHarness h(config);
    h.boxes.Hold(130, [&] { h.WaitFor([&] { return h.module.Snapshot().state == ModuleState::Idle; }); });
    ASSERT_FALSE(h.Open());
    ASSERT_TRUE(h.WaitIdle(20s));
    EXPECT_EQ(h.BoxIds(), (std::vector<int>{129, 130}));
    EXPECT_TRUE(h.page.IsPortOpen());
    EXPECT_EQ(h.mainWindow.SetupRequests(), 0);
    EXPECT_EQ(h.CommandCount("AT+DISC"), 1);
}

// --- Apply ----------------------------------------------------------------------------

TEST_F(TarnelConfPageApply, RefusesBadInputBeforeAnythingIsSent) {
    struct Case {
        const char* what;
        std::u16string name;
        std::u16string target;
        int message;
    };
    const Case cases[] = {
        {"empty name", u"", u"", 122},
        {"33-byte name", std::u16string(11, u'한'), u"", 123},
        {"comma", u"Tarnel,1", u"", 131},
        {"carriage return", u"Tarnel\rAT&F", u"", 131},
        {"line feed", u"Tarnel\nAT&F", u"", 131},
        {"tab", u"Tar\tnel", u"", 131},
        {"delete", u"Tarnel\x7F", u"", 131},
        {"colons", u"Tarnel", u"00:1A:7D:DA:71:13", 124},
        {"eleven digits", u"Tarnel", u"001A7DDA711", 124},
        {"not hexadecimal", u"Tarnel", u"001A7DDA711G", 124},
    };
    ASSERT_NO_FATAL_FAILURE(OpenIdle());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t shown = H().boxes.Count();
        H().SetText(P::IDC_DEVICE_NAME, c.name);
        H().SetText(P::IDC_TARGET, c.target);
        H().Click(P::IDC_APPLY);
        ASSERT_EQ(H().boxes.Count(), shown + 1);
        EXPECT_EQ(H().BoxIds().back(), c.message);
        EXPECT_EQ(H().boxes.Calls().back().style, ui::MB_ICONERROR);
        EXPECT_TRUE(H().Enabled(P::IDC_APPLY));
        EXPECT_TRUE(SearchControlsEnabled(H()));
    }
    H().Settle(300ms);
    EXPECT_TRUE(SentSinceRead().empty());
    EXPECT_EQ(ui::test::WaitCursorCount(), 0);
}

TEST_F(TarnelConfPageApply, WritesEverySettingResetsAndHandsBackThePort) {
    ASSERT_NO_FATAL_FAILURE(OpenIdle());
    H().SetText(P::IDC_DEVICE_NAME, u"Küche 2");
    H().SetText(P::IDC_TARGET, u"  0011223344aa \t");
    P::SelectByItemData(H().Get<ui::ComboBox>(P::IDC_BAUD), 115200);
    P::SelectByItemData(H().Get<ui::ComboBox>(P::IDC_PARITY), 'E');
    P::SelectByItemData(H().Get<ui::ComboBox>(P::IDC_STOP_BITS), 2);
    P::SelectByItemData(H().Get<ui::ComboBox>(P::IDC_FLOW), 1);
    H().Click(P::IDC_OP_MODE_3);
    H().Click(P::IDC_APPLY);
    EXPECT_EQ(H().Text(P::IDC_TARGET), u"0011223344aa");
    ASSERT_TRUE(H().WaitFor([&] { return H().mainWindow.SetupRequests() == 1; }));

    EXPECT_EQ(SentSinceRead(),
              (std::vector<std::string>{"AT+INFO1?", "AT+NAME=Küche 2", "AT+UART=115200,E,2,1",
                                        "AT+TADDR=0011223344AA", "AT+OPMODE=3", "AT+QM=0", "ATZ"}));
    EXPECT_EQ(H().BoxIds(), std::vector<int>{126});
    EXPECT_EQ(H().StyleOf(126), ui::MB_ICONINFORMATION);
    EXPECT_FALSE(H().page.IsPortOpen());
    EXPECT_EQ(ui::test::WaitCursorCount(), 0);
    const auto module = H().module.Snapshot();
    EXPECT_EQ(module.resets, 1);
    EXPECT_EQ(module.current.name, "Küche 2");
    EXPECT_EQ(module.current.opMode, 3);
    EXPECT_EQ(module.current.uart.line.baud, 115200u);
}

// A Korean input method types a full-width space (U+3000) as readily as a
// blank; around an address it is white space all the same.
// The module goes as the reset after Apply reaches it: the settings have not
// taken effect, so message 106 alone says what happened.
TEST_F(TarnelConfPageApply, APortThatFailsBeforeTheResetGivesMessage106Alone) {
    ASSERT_NO_FATAL_FAILURE(OpenIdle());
    H().Click(P::IDC_APPLY);
    ASSERT_TRUE(H().WaitFor([&] { return H().mainWindow.SetupRequests() == 1; }));
    const std::string heard = H().module.Received();
    const std::size_t reset = heard.rfind("ATZ\r");
    ASSERT_NE(reset, std::string::npos);

    SimConfig config;
    config.hangUpAfterBytes = reset + 1;
    ASSERT_NO_FATAL_FAILURE(OpenIdle(config));
    H().Click(P::IDC_APPLY);
    ASSERT_TRUE(H().WaitFor([&] { return H().mainWindow.SetupRequests() == 1; }));
    H().Settle(300ms);
    EXPECT_EQ(H().BoxIds(), std::vector<int>{106});
    EXPECT_FALSE(H().page.IsPortOpen());
}

TEST_F(TarnelConfPageApply, TrimsUnicodeWhiteSpaceAroundATypedTarget) {
    ASSERT_NO_FATAL_FAILURE(OpenIdle());
    H().SetText(P::IDC_TARGET, u"");
    ClickOn(*H().page.GetDlgItem(P::IDC_TARGET));
    TypeText(u"\u3000\u00A00011223344aa\u3000");
    ASSERT_EQ(H().Text(P::IDC_TARGET), u"\u3000\u00A00011223344aa\u3000");
    // The click may take long enough for the whole Apply to finish and the
    // port to close, so what went to the module tells.
    ClickOn(*H().page.GetDlgItem(P::IDC_APPLY));
    ASSERT_TRUE(H().WaitFor([&] { return H().mainWindow.SetupRequests() == 1; }));
    EXPECT_EQ(H().BoxIds(), std::vector<int>{126});
    EXPECT_EQ(H().CommandCount("AT+TADDR=0011223344AA"), 1);
}

TEST_F(TarnelConfPageApply, SendsNoTargetWhenTheEditIsEmpty) {
    ASSERT_NO_FATAL_FAILURE(OpenIdle());
    H().SetText(P::IDC_TARGET, u"   ");
    H().Click(P::IDC_APPLY);
    ASSERT_TRUE(H().WaitForBox(126));
    for (const std::string& command : SentSinceRead())
        EXPECT_NE(command.rfind("AT+TADDR", 0), 0u) << command;
}

// With responses switched off the module does not confirm the setting; the
// job still counts as done.
TEST_F(TarnelConfPageApply, SwitchingResponsesOffSucceedsWithoutAnAnswer) {
    ASSERT_NO_FATAL_FAILURE(OpenIdle());
    P::SelectByItemData(H().Get<ui::ComboBox>(P::IDC_RESPONSE), 1);
    H().Click(P::IDC_APPLY);
    ASSERT_TRUE(H().WaitFor([&] { return H().mainWindow.SetupRequests() == 1; }));
    EXPECT_EQ(H().BoxIds(), std::vector<int>{126});
    const std::vector<std::string> sent = SentSinceRead();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[sent.size() - 2], "AT+QM=1");
    EXPECT_EQ(sent.back(), "ATZ");
    EXPECT_TRUE(H().module.Snapshot().current.quietMode);
    EXPECT_FALSE(H().page.IsPortOpen());
}

TEST_F(TarnelConfPageApply, AFailedWriteIsReportedAndTheModuleCheckedAgain) {
    for (const char* refused : {"AT+NAME", "AT+UART", "AT+TADDR", "AT+OPMODE", "AT+QM"}) {
        SCOPED_TRACE(refused);
        SimConfig config;
        config.errorCommands = {refused};
        ASSERT_NO_FATAL_FAILURE(OpenIdle(config));
        H().SetText(P::IDC_TARGET, u"0011223344AA");
        H().Click(P::IDC_APPLY);
        ASSERT_TRUE(H().WaitForBox(127));
        EXPECT_EQ(H().StyleOf(127), ui::MB_ICONERROR);
        ASSERT_TRUE(H().WaitIdle());
        const std::vector<std::string> sent = SentSinceRead();
        EXPECT_EQ(std::vector<std::string>(sent.end() - 8, sent.end()), Concat({kCheck, kRead}));
        EXPECT_EQ(H().CommandCount("ATZ"), 0);
        EXPECT_TRUE(H().page.IsPortOpen());
        EXPECT_EQ(H().mainWindow.SetupRequests(), 0);
    }
}

// A module that pauses between its lines, and longer before a query's OK.
SimConfig SlowLinesConfig() {
    SimConfig config;
    config.okDelay = 150ms;
    config.lineGap = 100ms;
    config.paceOutput = true;
    return config;
}

// A query's OK that comes late must not be taken by the setting after it: each
// setting would then report its predecessor's OK, and the refused last one
// succeed.
TEST_F(TarnelConfPageApply, ALateOkOfAQueryAnswersNoSetting) {
    SimConfig config = SlowLinesConfig();
    config.errorCommands = {"AT+QM"};
    ASSERT_NO_FATAL_FAILURE(OpenIdle(config));
    // The response query tells that the model name's OK is still to come.
    EXPECT_EQ(H().Commands(), Concat({kCheck, {"AT+QM?"}, kRead}));
    EXPECT_EQ(H().Text(P::IDC_FW_VERSION), u"1.2.0");
    H().SetText(P::IDC_TARGET, u"0011223344AA");
    ClickOn(*H().page.GetDlgItem(P::IDC_APPLY));
    ASSERT_TRUE(H().WaitForBox(127));
    ASSERT_TRUE(H().WaitIdle());
    EXPECT_EQ(H().BoxIds(), std::vector<int>{127});
    EXPECT_EQ(H().CommandCount("ATZ"), 0);
    EXPECT_EQ(H().module.Snapshot().written.target,
              (tarnel::sim::BdAddress{0x00, 0x11, 0x22, 0x33, 0x44, 0xAA}));
}

TEST_F(TarnelConfPageApply, AModuleWithoutOkAfterItsDataLinesIsReadAndWritten) {
    SimConfig config;
    config.okAfterData = false;
    config.paceOutput = true;
    ASSERT_NO_FATAL_FAILURE(OpenIdle(config));
    // The response query tells that no OK follows the model name.
    EXPECT_EQ(H().Commands(), Concat({kCheck, {"AT+QM?"}, kRead}));
    EXPECT_EQ(H().Text(P::IDC_FW_VERSION), u"1.2.0");
    H().SetText(P::IDC_DEVICE_NAME, u"Other");
    ClickOn(*H().page.GetDlgItem(P::IDC_APPLY));
    ASSERT_TRUE(H().WaitFor([&] { return H().mainWindow.SetupRequests() == 1; }));
    EXPECT_EQ(H().BoxIds(), std::vector<int>{126});
    EXPECT_EQ(SentSinceRead(), (std::vector<std::string>{"AT+INFO1?", "AT+NAME=Other", "AT+UART=9600,N,1,0",
                                                         "AT+OPMODE=0", "AT+QM=0", "ATZ"}));
    EXPECT_EQ(H().module.Snapshot().current.name, "Other");
}

// --- Factory reset ------------------------------------------------------------------

TEST_F(TarnelConfPageApply, FactoryResetCancelledGivesTheControlsBack) {
    ASSERT_NO_FATAL_FAILURE(OpenIdle());
    H().boxes.QueueAnswer(ui::IDCANCEL);
    H().Click(P::IDC_FACTORY_RESET);
    EXPECT_EQ(H().BoxIds(), std::vector<int>{128});
    EXPECT_EQ(H().StyleOf(128), ui::MB_OKCANCEL | ui::MB_ICONQUESTION);
    EXPECT_TRUE(H().Enabled(P::IDC_APPLY));
    H().Settle(300ms);
    EXPECT_TRUE(SentSinceRead().empty());
}

TEST_F(TarnelConfPageApply, FactoryResetConfirmedResetsAndHandsBackThePort) {
    for (bool refused : {false, true}) {
        SCOPED_TRACE(refused);
        SimConfig config;
        if (refused) config.errorCommands = {"AT&F"};
        config.settings.name = "Changed";
        ASSERT_NO_FATAL_FAILURE(OpenIdle(config));
        H().Click(P::IDC_FACTORY_RESET);
        EXPECT_FALSE(H().Enabled(P::IDC_APPLY));
        ASSERT_TRUE(H().WaitFor([&] { return H().mainWindow.SetupRequests() == 1; }));
        EXPECT_EQ(SentSinceRead(), std::vector<std::string>{"AT&F"});
        EXPECT_EQ(H().BoxIds(), std::vector<int>{128});
        EXPECT_EQ(H().module.Snapshot().factoryResets, refused ? 0 : 1);
        ExpectGaveUp(H());
    }
}

// --- Device search --------------------------------------------------------------------

TEST_F(TarnelConfPageSearch, ListsEachDeviceOnceAndReadsAgainAtTheEnd) {
    ASSERT_NO_FATAL_FAILURE(OpenIdle(SearchConfig(3200ms)));
    H().Click(P::IDC_SEARCH);
    EXPECT_TRUE(AllUserControlsDisabled(H()));
    ASSERT_TRUE(WaitSearching());
    EXPECT_TRUE(H().Enabled(P::IDC_RESULT_LIST));
    EXPECT_FALSE(H().Enabled(P::IDC_APPLY));
    EXPECT_FALSE(H().Enabled(P::IDC_TAKE_TARGET));
    ASSERT_TRUE(H().WaitForBox(116));
    EXPECT_EQ(H().StyleOf(116), ui::MB_ICONINFORMATION);
    EXPECT_EQ(H().Text(P::IDC_SEARCH), u"Search device");
    ASSERT_TRUE(H().WaitIdle());

    auto& list = H().Get<ui::ListCtrl>(P::IDC_RESULT_LIST);
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(Row(H(), 0), (std::vector<std::u16string>{u"001BDC0F3A21", u"거실 스피커", u"-52", u"240414"}));
    EXPECT_EQ(Row(H(), 1), (std::vector<std::u16string>{u"74E543B019C7", u"Field Phone", u"-67", u"5A020C"}));
    const std::vector<std::string> sent = SentSinceRead();
    EXPECT_EQ(sent.front(), "AT+INQ=60,1");
    EXPECT_EQ(std::vector<std::string>(sent.end() - 8, sent.end()), Concat({kCheck, kRead}));
    EXPECT_EQ(H().CommandCount("AT+OPCANCEL"), 0);
    EXPECT_TRUE(SearchControlsEnabled(H()));
    EXPECT_EQ(H().BoxIds(), std::vector<int>{116});
}

// A module reports what it hears at once, while the inquiry command still
// waits for a refusal; some acknowledge the command with OK first, which is
// not the end of the inquiry.
TEST_F(TarnelConfPageSearch, ListsTheDevicesReportedWhileTheInquiryCommandWaits) {
    for (bool acknowledged : {false, true}) {
        SCOPED_TRACE(acknowledged);
        SimConfig config;
        config.devices = {{{0x00, 0x1B, 0xDC, 0x0F, 0x3A, 0x21}, "First", -52, 0x240414, 100ms},
                          {{0x74, 0xE5, 0x43, 0xB0, 0x19, 0xC7}, "Second", -67, 0x5A020C, 300ms},
                          {{0x00, 0x80, 0x25, 0x4E, 0x90, 0x0D}, "Third", -81, 0x001F00, 700ms}};
        config.inquiryTime = 1500ms;
        config.inquiryOk = acknowledged;
        config.paceOutput = true;
        ASSERT_NO_FATAL_FAILURE(OpenIdle(config));
        ClickOn(*H().page.GetDlgItem(P::IDC_SEARCH));
        ASSERT_TRUE(H().WaitForBox(116));
        ASSERT_TRUE(H().WaitIdle());
        H().Settle(300ms);
        EXPECT_EQ(H().BoxIds(), std::vector<int>{116});
        auto& list = H().Get<ui::ListCtrl>(P::IDC_RESULT_LIST);
        ASSERT_EQ(list.GetItemCount(), 3);
        EXPECT_EQ(Row(H(), 0), (std::vector<std::u16string>{u"001BDC0F3A21", u"First", u"-52", u"240414"}));
        EXPECT_EQ(list.GetItemText(1, 1), u"Second");
        EXPECT_EQ(list.GetItemText(2, 1), u"Third");
        EXPECT_EQ(H().Text(P::IDC_SEARCH), u"Search device");
    }
}

// Bluetooth names run to 248 bytes and more than the list keeps; such a
// device is listed with its name cut before a character, not left out.
TEST_F(TarnelConfPageSearch, ListsADeviceWithALongName) {
    std::string name = "A";
    std::u16string shown = u"A";
    for (int i = 0; i < 83; ++i) {
        name += "한";
        if (i < 20) shown += u"한";
    }
    ASSERT_EQ(name.size(), 250u);
    SimConfig config;
    config.devices = {{{0x00, 0x1B, 0xDC, 0x0F, 0x3A, 0x21}, name, -52, 0x240414, 300ms},
                      {{0x74, 0xE5, 0x43, 0xB0, 0x19, 0xC7}, "Short", -67, 0x5A020C, 600ms}};
    config.inquiryTime = 1500ms;
    config.paceOutput = true;
    ASSERT_NO_FATAL_FAILURE(OpenIdle(config));
    ClickOn(*H().page.GetDlgItem(P::IDC_SEARCH));
    ASSERT_TRUE(H().WaitForBox(116));
    ASSERT_TRUE(H().WaitIdle());
    auto& list = H().Get<ui::ListCtrl>(P::IDC_RESULT_LIST);
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(Row(H(), 0), (std::vector<std::u16string>{u"001BDC0F3A21", shown, u"-52", u"240414"}));
    EXPECT_EQ(list.GetItemText(1, 1), u"Short");
}

TEST_F(TarnelConfPageSearch, TheGuardTimerEndsTheSearchWithAFreshRead) {
    ASSERT_NO_FATAL_FAILURE(OpenIdle(SearchConfig(30000ms)));
    H().Click(P::IDC_SEARCH);
    ASSERT_TRUE(WaitSearching());
    H().page.PostMessage(ui::WM_TIMER, P::SEARCH_TIMER_ID);
    ASSERT_TRUE(H().WaitForCommand("AT+OPCANCEL"));
    ASSERT_TRUE(H().WaitIdle());
    EXPECT_EQ(H().module.Snapshot().state, ModuleState::Idle);
    // The text is the read's to leave; the next click starts a new search.
    EXPECT_EQ(H().Text(P::IDC_SEARCH), u"Stop search");
    H().Click(P::IDC_SEARCH);
    ASSERT_TRUE(H().WaitFor([&] { return H().CommandCount("AT+INQ=60,1") == 2; }));
    EXPECT_TRUE(H().BoxIds().empty());
}

TEST_F(TarnelConfPageSearch, AStoppedSearchLeavesNoGuardTimerBehind) {
    ASSERT_NO_FATAL_FAILURE(OpenIdle(SearchConfig(30000ms)));
    H().Click(P::IDC_SEARCH);
    ASSERT_TRUE(WaitSearching());
    H().Click(P::IDC_SEARCH);
    ASSERT_TRUE(H().WaitFor([&] { return H().Text(P::IDC_SEARCH) == u"Search device"; }));
    ASSERT_TRUE(H().WaitIdle());
    const std::size_t sent = H().Commands().size();
    H().SetText(P::IDC_DEVICE_NAME, u"Typed meanwhile");

    // The guard's 61 s have passed.
    H().page.PostMessage(ui::WM_TIMER, P::SEARCH_TIMER_ID);
    H().Settle(500ms);
    EXPECT_EQ(H().Commands().size(), sent);
    EXPECT_EQ(H().Text(P::IDC_DEVICE_NAME), u"Typed meanwhile");
    EXPECT_TRUE(H().Enabled(P::IDC_APPLY));
}

TEST_F(TarnelConfPageSearch, ARefusedInquiryClosesThePort) {
    SimConfig config;
    config.errorCommands = {"AT+INQ"};
    ASSERT_NO_FATAL_FAILURE(OpenIdle(config));
    H().Click(P::IDC_SEARCH);
    ASSERT_TRUE(H().WaitForBox(115));
    EXPECT_EQ(H().StyleOf(115), ui::MB_ICONERROR);
    EXPECT_FALSE(H().page.IsPortOpen());
    EXPECT_TRUE(AllUserControlsDisabled(H()));
    EXPECT_EQ(H().Text(P::IDC_SEARCH), u"Search device");
    EXPECT_EQ(H().mainWindow.SetupRequests(), 0);
}

// --- Port errors and closing ------------------------------------------------------------

TEST(TarnelConfPagePort, UnpluggingWhileIdleIsReportedOnce) {
    ConfPageHarness h;
    ASSERT_FALSE(h.Open());
    ASSERT_TRUE(h.WaitIdle());
    h.module.Unplug();
    ASSERT_TRUE(h.WaitForBox(106));
    h.Settle(500ms);
    EXPECT_EQ(h.BoxIds(), std::vector<int>{106});
    EXPECT_EQ(h.StyleOf(106), ui::MB_ICONERROR);
    ExpectGaveUp(h);
}

TEST(TarnelConfPagePort, UnpluggingWhileAJobWaitsEndsTheJobQuietly) {
    SimConfig config;
    config.silentCommands = {"AT+VER?"};
    ConfPageHarness h(config);
    ASSERT_FALSE(h.Open());
    ASSERT_TRUE(h.WaitForCommand("AT+VER?"));
    h.module.Unplug();
    ASSERT_TRUE(h.WaitForBox(106));
    h.Settle(1500ms);
    EXPECT_EQ(h.BoxIds(), std::vector<int>{106});
    ExpectGaveUp(h);
}

TEST(TarnelConfPagePort, ClosingThePageEndsAWaitingJob) {
    SimConfig config;
    config.silentCommands = {"AT+MODELNAME?"};
    ConfPageHarness h(config);
    ASSERT_FALSE(h.Open());
    ASSERT_TRUE(h.WaitForCommand("AT+MODELNAME?"));
    h.page.DestroyWindow();
    EXPECT_FALSE(h.page.IsWindow());
    EXPECT_FALSE(h.page.IsPortOpen());
    h.Settle(300ms);
    EXPECT_TRUE(h.BoxIds().empty());
    EXPECT_EQ(h.Commands(), kCheck);
    EXPECT_EQ(ui::test::WaitCursorCount(), 0);
}

// The worker's box is up, holding the job lock, when the port fails: the
// error closes the box instead of waiting on that lock for good.
TEST(TarnelConfPagePort, ASerialErrorWhileTheWorkersBoxIsUpIsReportedOnce) {
    SimConfig config;
    config.settings.quietMode = true;
    ConfPageHarness h(config);
    bool closedByTheError = false;
    h.boxes.Hold(125, [&] {
        h.module.Unplug();
        closedByTheError = h.WaitFor([] { return ui::test::OpenMessageBoxCount() == 0; });
    });
    const tarnel::test::HangGuard guard(60s, "a serial error while message 125 is up");
    ASSERT_FALSE(h.Open());
    ASSERT_TRUE(h.WaitFor([&] { return h.mainWindow.SetupRequests() == 1; }));
    h.Settle(500ms);
    EXPECT_TRUE(closedByTheError);
    EXPECT_EQ(h.BoxIds(), (std::vector<int>{125, 106}));
    ExpectGaveUp(h);
}

// A window-thread wait on the worker inside the loop of the worker's box (a
// handler that closes the port while message 125 is up) closes that box
// instead of waiting for an answer that cannot come.
TEST(TarnelConfPagePort, ClosingThePortInsideTheWorkersBoxDoesNotHang) {
    SimConfig config;
    config.settings.quietMode = true;
    ConfPageHarness h(config);
    bool closed = false;
    h.boxes.Hold(125, [&] {
        h.page.ClosePort();
        closed = true;
    });
    const tarnel::test::HangGuard guard(60s, "closing the port while message 125 is up");
    ASSERT_FALSE(h.Open());
    ASSERT_TRUE(h.WaitFor([&] { return closed; }));
    h.Settle(300ms);
    EXPECT_FALSE(h.page.IsPortOpen());
    EXPECT_EQ(h.BoxIds(), std::vector<int>{125});
}

// The worker holds the job lock while its box waits for the user; closing
// the port then must answer the box, not wait on the lock alone.
TEST(TarnelConfPagePort, ClosingWhileTheWorkerShowsABoxWaitsForTheAnswer) {
    SimConfig config;
    config.settings.quietMode = true;
    ConfPageHarness h(config);
    ASSERT_FALSE(h.Open());
    // Without running the event loop: the worker's box stays unanswered.
    ui::BoxRequests::Instance().WaitForRequest(20s);
    ASSERT_TRUE(h.boxes.Calls().empty());
    h.page.ClosePort();
    const std::vector<ui::test::MessageBoxCall> calls = h.boxes.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].stringId, 125);
    EXPECT_FALSE(calls[0].fromWindowThread);
    EXPECT_FALSE(h.page.IsPortOpen());
    h.Settle(300ms);
    EXPECT_EQ(h.boxes.Count(), 1u);
    EXPECT_EQ(h.mainWindow.SetupRequests(), 0);
}

}  // namespace
