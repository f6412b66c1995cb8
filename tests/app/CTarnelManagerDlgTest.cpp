#include "app/CTarnelManagerDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CAboutDlg.h"
#include "platform/Language.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/TestHooks.h"
#include "tests/app/MainDialogFixture.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessEvents.h"

namespace {

using namespace std::chrono_literals;
using namespace tarnel::app::test;

TEST_F(CTarnelManagerDlgTest, CancelAtStartLeavesNoPortOpen) {
    RunMain([&](CTarnelManagerDlg& dlg) {
        EXPECT_EQ(Shown(ComPortCfgDlg::IDD), 1);
        EXPECT_TRUE(dlg.ConfPage().IsWindowVisible());
        EXPECT_FALSE(dlg.TermPage().IsWindowVisible());
        EXPECT_FALSE(dlg.ConfPage().IsPortOpen());
        EXPECT_FALSE(TerminalEnabled(dlg));
        EXPECT_EQ(dlg.StatusBar().GetPaneText(0), u"COM port closed");
        EXPECT_EQ(dlg.StatusBar().GetPaneText(1), u"Version 1.1.0");
    });
    EXPECT_TRUE(m_sim.Commands().empty());
    EXPECT_EQ(m_boxes.Count(), 0u);
}

TEST_F(CTarnelManagerDlgTest, CancelAtStartShowsTheSavedMode) {
    ScopedProfile::Set(ui::profile::kOpMode, 2);
    RunMain([&](CTarnelManagerDlg& dlg) {
        EXPECT_EQ(dlg.CurrentMode(), ComPortCfgDlg::MODE_TERMINAL);
        EXPECT_TRUE(dlg.TermPage().IsWindowVisible());
        EXPECT_FALSE(dlg.ConfPage().IsWindowVisible());
        EXPECT_FALSE(TerminalEnabled(dlg));
    });
}

TEST_F(CTarnelManagerDlgTest, OkInConfiguratorModeOpensAndReadsTheModule) {
    Answer(OkIn(ComPortCfgDlg::MODE_CONFIGURATOR));
    RunMain([&](CTarnelManagerDlg& dlg) {
        ASSERT_TRUE(WaitFor([&] { return ConfiguratorReady(dlg); }));
        EXPECT_EQ(dlg.ConfPage().GetDlgItemText(TarnelConfPage::IDC_DEVICE_NAME), u"Tarnel");
        EXPECT_EQ(dlg.StatusBar().GetPaneText(0), PortStatus());
        EXPECT_TRUE(dlg.ConfPage().IsPortOpen());
        EXPECT_FALSE(TerminalEnabled(dlg));
    });
    EXPECT_GE(Received("AT+TADDR?"), 1);
    EXPECT_EQ(m_boxes.Count(), 0u);
}

TEST_F(CTarnelManagerDlgTest, SwitchingToTerminalModeOpensOnlyTheTerminalsPort) {
    Answer(OkIn(ComPortCfgDlg::MODE_CONFIGURATOR));
    Answer(OkIn(ComPortCfgDlg::MODE_TERMINAL));
    RunMain([&](CTarnelManagerDlg& dlg) {
        ASSERT_TRUE(WaitFor([&] { return ConfiguratorReady(dlg); }));
        dlg.PostMessage(ui::WM_COMMAND, CTarnelManagerDlg::ID_SETUP_COM_PORT, 0);
        ASSERT_TRUE(WaitFor([&] { return TerminalReady(dlg); }));
        EXPECT_FALSE(dlg.ConfPage().IsPortOpen());
        EXPECT_TRUE(dlg.TermPage().IsWindowVisible());
        EXPECT_FALSE(dlg.ConfPage().IsWindowVisible());
        EXPECT_EQ(dlg.StatusBar().GetPaneText(0), PortStatus());

        // The terminal talks to the module at the chosen settings.
        dlg.TermPage().m_history.SetWindowText(u"AT+VER?");
        Click(dlg.TermPage(), SerialTermPage::IDC_SEND);
        EXPECT_TRUE(WaitFor(
            [&] { return dlg.TermPage().m_view.GetWindowText().find(u"OK") != std::u16string::npos; }));
    });
    EXPECT_EQ(Received("ATZ"), 1);
    EXPECT_EQ(m_boxes.Count(), 0u);
}

TEST_F(CTarnelManagerDlgTest, ReopeningClosesBothPortsAndWaitsBeforeOpening) {
    Answer(OkIn(ComPortCfgDlg::MODE_TERMINAL));
    RunMain([&](CTarnelManagerDlg& dlg) {
        ASSERT_TRUE(WaitFor([&] { return TerminalReady(dlg); }));
        const auto start = std::chrono::steady_clock::now();
        dlg.SendMessage(CTarnelManagerDlg::WM_REOPEN_PORT);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
        EXPECT_TRUE(TerminalReady(dlg));
        EXPECT_FALSE(dlg.ConfPage().IsPortOpen());
    });
    EXPECT_EQ(m_boxes.Count(), 0u);
}

TEST_F(CTarnelManagerDlgTest, SetupWithTheConfiguratorOpenResetsTheModuleAndIgnoresASecondRequest) {
    Answer(OkIn(ComPortCfgDlg::MODE_CONFIGURATOR));
    CTarnelManagerDlg* main = nullptr;
    Answer([&](ComPortCfgDlg& com) {
        EXPECT_EQ(Received("ATZ"), 1);
        EXPECT_EQ(main->StatusBar().GetPaneText(0), u"COM port closed");
        // A page asking for the dialog while it shows changes nothing.
        main->PostMessage(ui::WM_COMMAND, CTarnelManagerDlg::ID_SETUP_COM_PORT, 0);
        for (int i = 0; i < 5; ++i)
            ui::test::ProcessEvents();
        EXPECT_TRUE(main->ConfPage().IsPortOpen());
        EXPECT_EQ(Received("ATZ"), 1);
        com.EndDialog(ui::IDCANCEL);
    });
    RunMain([&](CTarnelManagerDlg& dlg) {
        main = &dlg;
        ASSERT_TRUE(WaitFor([&] { return ConfiguratorReady(dlg); }));
        dlg.SendMessage(ui::WM_COMMAND, CTarnelManagerDlg::ID_SETUP_COM_PORT);
        EXPECT_EQ(Shown(ComPortCfgDlg::IDD), 2);
        EXPECT_FALSE(dlg.ConfPage().IsPortOpen());
        EXPECT_EQ(dlg.StatusBar().GetPaneText(0), u"COM port closed");
        for (int i = 0; i < 5; ++i)
            ui::test::ProcessEvents();
        EXPECT_EQ(Shown(ComPortCfgDlg::IDD), 2);
    });
}

TEST_F(CTarnelManagerDlgTest, APortThatDoesNotExistIsReportedWithTheSystemsText) {
    m_ports = {kMissingPort};
    Answer(OkIn(ComPortCfgDlg::MODE_CONFIGURATOR));
    RunMain([&](CTarnelManagerDlg& dlg) {
        ASSERT_TRUE(WaitFor([&] { return m_boxes.Count() == 1; }));
        EXPECT_EQ(dlg.StatusBar().GetPaneText(0), u"COM port closed");
        EXPECT_FALSE(dlg.ConfPage().IsPortOpen());
    });
    ASSERT_EQ(m_boxes.Count(), 1u);
    const ui::test::MessageBoxCall box = m_boxes.Calls().front();
    EXPECT_EQ(box.text, MissingPortBox(u"Unable to open the COM port."));
    EXPECT_EQ(box.style, ui::MB_OK | ui::MB_ICONERROR);
}

TEST_F(CTarnelManagerDlgTest, AKoreanInterfaceShowsTheKoreanTexts) {
    ui::SetUiLanguage(ui::Language::Korean);
    m_ports = {kMissingPort};
    Answer([](ComPortCfgDlg& com) {
        EXPECT_EQ(com.GetWindowText(), u"Tarnel 모듈과의 통신 설정");
        EXPECT_EQ(com.GetDlgItemText(ComPortCfgDlg::IDC_MODE_TERMINAL), u"시리얼 터미널");
        Click(com, ui::IDOK);
    });
    RunMain([&](CTarnelManagerDlg& dlg) {
        ASSERT_TRUE(WaitFor([&] { return m_boxes.Count() == 1; }));
        EXPECT_EQ(dlg.StatusBar().GetPaneText(0), u"COM 포트 닫힘");
        ui::Menu* popup = dlg.GetMenu()->GetSubMenu(0);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(dlg.GetMenu()->GetMenuString(0), u"메뉴");
        EXPECT_EQ(popup->GetMenuString(0), u"COM 포트 설정");
        EXPECT_EQ(popup->GetMenuString(1), u"프로그램 정보");
        ui::Menu* system = dlg.GetSystemMenu();
        EXPECT_EQ(system->GetMenuString(system->GetMenuItemCount() - 1), u"Tarnel Manager 정보(&A)...");
    });
    ui::SetUiLanguage(ui::Language::English);
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_EQ(m_boxes.Calls().front().text, MissingPortBox(u"COM 포트를 열 수 없습니다."));
}

TEST_F(CTarnelManagerDlgTest, ASuccessfulApplyBringsTheComPortDialogBack) {
    Answer(OkIn(ComPortCfgDlg::MODE_CONFIGURATOR));
    RunMain([&](CTarnelManagerDlg& dlg) {
        ASSERT_TRUE(WaitFor([&] { return ConfiguratorReady(dlg); }));
        Click(dlg.ConfPage(), TarnelConfPage::IDC_APPLY);
        ASSERT_TRUE(WaitFor([&] { return Shown(ComPortCfgDlg::IDD) == 2; }));
        EXPECT_FALSE(dlg.ConfPage().IsPortOpen());
    });
    ASSERT_GE(m_boxes.Count(), 1u);
    EXPECT_EQ(m_boxes.Calls().back().stringId, 126);
}

TEST_F(CTarnelManagerDlgTest, ASerialErrorBringsTheComPortDialogBack) {
    Answer(OkIn(ComPortCfgDlg::MODE_TERMINAL));
    RunMain([&](CTarnelManagerDlg& dlg) {
        ASSERT_TRUE(WaitFor([&] { return TerminalReady(dlg); }));
        m_sim.Unplug();
        ASSERT_TRUE(WaitFor([&] { return Shown(ComPortCfgDlg::IDD) == 2; }));
        EXPECT_FALSE(TerminalEnabled(dlg));
        EXPECT_EQ(dlg.StatusBar().GetPaneText(0), u"COM port closed");
    });
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_EQ(m_boxes.Calls().front().stringId, 106);
}

TEST_F(CTarnelManagerDlgTest, TheMenuAndTheSystemMenuShowTheAboutBox) {
    RunMain([&](CTarnelManagerDlg& dlg) {
        ui::Menu* system = dlg.GetSystemMenu();
        ASSERT_NE(system, nullptr);
        const int last = system->GetMenuItemCount() - 1;
        ASSERT_GE(last, 1);
        EXPECT_EQ(system->GetMenuItemID(last - 1), 0);
        EXPECT_EQ(system->GetMenuItemID(last), static_cast<int>(CTarnelManagerDlg::IDM_ABOUTBOX));
        EXPECT_EQ(system->GetMenuString(last), u"Tarnel Manager Info.");

        dlg.SendMessage(ui::WM_COMMAND, CTarnelManagerDlg::ID_APP_ABOUT);
        dlg.SendMessage(ui::WM_SYSCOMMAND, CTarnelManagerDlg::IDM_ABOUTBOX);
        dlg.SendMessage(ui::WM_SYSCOMMAND, 0xF020);  // minimize: not the About box
    });
    EXPECT_EQ(Shown(CAboutDlg::IDD), 2);
}

TEST_F(CTarnelManagerDlgTest, PagesFillThePlaceholderButNeverExceedIt) {
    struct Layout {
        ui::RECT client, placeholder, page, bar;
    };
    auto settle = [] {
        for (int i = 0; i < 5; ++i)
            ui::test::ProcessEvents();
    };
    auto layout = [](CTarnelManagerDlg& dlg, ui::Window& page) {
        Layout l;
        dlg.GetClientRect(l.client);
        dlg.GetDlgItem(CTarnelManagerDlg::IDC_PLACEHOLDER)->GetWindowRect(l.placeholder);
        page.GetWindowRect(l.page);
        dlg.StatusBar().GetWindowRect(l.bar);
        return l;
    };
    RunMain([&](CTarnelManagerDlg& dlg) {
        settle();
        const Layout conf = layout(dlg, dlg.ConfPage());
        dlg.ShowPage(ComPortCfgDlg::MODE_TERMINAL);
        settle();
        const Layout term = layout(dlg, dlg.TermPage());

        for (const Layout& l : {conf, term}) {
            EXPECT_EQ(l.page.left, l.placeholder.left);
            EXPECT_EQ(l.page.top, l.placeholder.top);
            EXPECT_EQ(l.page.Width(), l.placeholder.Width());
            EXPECT_EQ(l.page.Height(), l.placeholder.Height());
            EXPECT_LE(l.page.bottom, l.bar.top);
            EXPECT_EQ(l.bar.Height(), dlg.StatusBar().GetBarHeight());
        }
        // Both pages are smaller than the placeholder in height; the terminal
        // page is wider than it and keeps its width, the configurator is
        // narrower and shrinks the window.
        EXPECT_LT(term.page.Height(), conf.page.Height());
        EXPECT_LT(term.client.Height(), conf.client.Height());
        EXPECT_GT(term.page.Width(), conf.page.Width());

        dlg.ShowPage(7);
        EXPECT_EQ(dlg.CurrentMode(), ComPortCfgDlg::MODE_TERMINAL);
        EXPECT_FALSE(dlg.TermPage().IsWindowVisible());
        EXPECT_FALSE(dlg.ConfPage().IsWindowVisible());
    });
}

// --- A port that closes under a running job or an open box ----------------------

using tarnel::sim::ModuleState;
using tarnel::sim::SimConfig;
using tarnel::test::SimModule;

int CountOf(const SimModule& module, const std::string& command) {
    return static_cast<int>(std::ranges::count(module.Commands(), command));
}

// The main dialog with a first module that fails or is left, and a second
// one that the COM port dialog offers next.
class CTarnelManagerDlgPortTest : public CTarnelManagerDlgTest {
protected:
    void SetUp() override {}

    void StartFirst(SimConfig config) {
        m_first = std::make_unique<SimModule>(std::move(config));
        m_second = std::make_unique<SimModule>();
        ASSERT_FALSE(m_first->Start());
        ASSERT_FALSE(m_second->Start());
        m_ports = {m_first->SlavePath()};
    }

    // The COM port dialog lists the second module and OK opens it.
    ComAnswer OkWithSecondModule() {
        return [this](ComPortCfgDlg& dlg) {
            m_boxesUpAtSetup = ui::test::OpenMessageBoxCount();
            m_ports = {m_second->SlavePath()};
            DropDown(dlg, ComPortCfgDlg::IDC_PORT);
            Pick(dlg, ComPortCfgDlg::IDC_PORT, Utf16(m_second->SlavePath()));
            OkIn(ComPortCfgDlg::MODE_CONFIGURATOR)(dlg);
        };
    }

    // The configurator has read `module` and waits for the user.
    static bool ReadyOn(CTarnelManagerDlg& dlg, const SimModule& module) {
        return dlg.StatusBar().GetPaneText(0) ==
                   Utf16(module.SlavePath()) + u", 9600, No parity, 1 stopbit, No flow control" &&
               dlg.ConfPage().IsPortOpen() &&
               dlg.ConfPage().GetDlgItem(TarnelConfPage::IDC_APPLY)->IsWindowEnabled();
    }

    // Lets whatever is still due happen: events for a while.
    static void Settle() {
        tarnel::test::WaitUntil([] { return false; }, 1500ms, ui::test::ProcessEvents);
    }

    std::unique_ptr<SimModule> m_first;
    std::unique_ptr<SimModule> m_second;
    int m_boxesUpAtSetup = -1;
};

std::vector<int> BoxIds(const ui::test::MessageBoxRecorder& boxes) {
    std::vector<int> ids;
    for (const ui::test::MessageBoxCall& call : boxes.Calls())
        ids.push_back(call.stringId);
    return ids;
}

// "Setup COM port" and OK close the port and open it again without handling
// a message in between: what the closed port's worker posted comes after.
TEST_F(CTarnelManagerDlgPortTest, AReopenDuringAReadIsNotGivenUpByTheClosedPortsResult) {
    SimConfig slow;
    slow.replyDelay = 250ms;
    ASSERT_NO_FATAL_FAILURE(StartFirst(slow));
    Answer(OkIn(ComPortCfgDlg::MODE_CONFIGURATOR));
    Answer(OkIn(ComPortCfgDlg::MODE_CONFIGURATOR));
    RunMain([&](CTarnelManagerDlg& dlg) {
        ASSERT_TRUE(WaitFor([&] { return CountOf(*m_first, "AT+VER?") == 1; }));
        dlg.PostMessage(ui::WM_COMMAND, CTarnelManagerDlg::ID_SETUP_COM_PORT, 0);
        ASSERT_TRUE(WaitFor([&] { return Shown(ComPortCfgDlg::IDD) == 2; }));
        ASSERT_TRUE(WaitFor([&] { return ReadyOn(dlg, *m_first); }));
        Settle();
        EXPECT_TRUE(ReadyOn(dlg, *m_first));
    });
    EXPECT_EQ(Shown(ComPortCfgDlg::IDD), 2);
    EXPECT_EQ(BoxIds(m_boxes), std::vector<int>{});
}

// The inquiry command waits its whole limit; a reopen meanwhile must not
// take its result for a search of the new opening.
TEST_F(CTarnelManagerDlgPortTest, AReopenDuringASearchDoesNotSearchOnTheNewOpening) {
    SimConfig searching;
    searching.inquiryTime = 30000ms;
    ASSERT_NO_FATAL_FAILURE(StartFirst(searching));
    Answer(OkIn(ComPortCfgDlg::MODE_CONFIGURATOR));
    RunMain([&](CTarnelManagerDlg& dlg) {
        ASSERT_TRUE(WaitFor([&] { return ReadyOn(dlg, *m_first); }));
        Click(dlg.ConfPage(), TarnelConfPage::IDC_SEARCH);
        ASSERT_TRUE(WaitFor([&] { return CountOf(*m_first, "AT+INQ=60,1") == 1; }));
        dlg.SendMessage(CTarnelManagerDlg::WM_REOPEN_PORT);
        ASSERT_TRUE(WaitFor([&] { return ReadyOn(dlg, *m_first); }));
        Settle();
        EXPECT_TRUE(ReadyOn(dlg, *m_first));
        EXPECT_EQ(dlg.ConfPage().GetDlgItemText(TarnelConfPage::IDC_SEARCH), u"Search device");
    });
    EXPECT_EQ(BoxIds(m_boxes), std::vector<int>{});
    EXPECT_EQ(CountOf(*m_first, "AT+INQ=60,1"), 1);
}

// A box left up when the port fails is closed with the error; answering it
// later does nothing to the module opened since.
TEST_F(CTarnelManagerDlgPortTest, ABoxLeftUpWhenThePortFailsDoesNotActOnTheNextModule) {
    struct Case {
        int box;
        SimConfig config;
        std::function<void(TarnelConfPage&)> raise;
    };
    SimConfig connected;
    connected.state = ModuleState::Connected;
    SimConfig searchEnds;
    searchEnds.inquiryTime = 2000ms;
    const auto click = [](int id) { return [id](TarnelConfPage& page) { Click(page, id); }; };
    const Case cases[] = {
        {128, {}, click(TarnelConfPage::IDC_FACTORY_RESET)},
        {126, {}, click(TarnelConfPage::IDC_APPLY)},
        {129, connected, [](TarnelConfPage&) {}},
        {116, searchEnds, click(TarnelConfPage::IDC_SEARCH)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        m_shown.clear();
        m_boxesUpAtSetup = -1;
        ASSERT_NO_FATAL_FAILURE(StartFirst(c.config));
        ui::test::MessageBoxRecorder boxes;
        Answer(OkIn(ComPortCfgDlg::MODE_CONFIGURATOR));
        Answer(OkWithSecondModule());
        CTarnelManagerDlg* main = nullptr;
        // The user leaves the box up; the module is unplugged and the next
        // one opened meanwhile.
        boxes.Hold(c.box, [&] {
            m_first->Unplug();
            EXPECT_TRUE(WaitFor([&] { return ReadyOn(*main, *m_second); }));
        });
        RunMain([&](CTarnelManagerDlg& dlg) {
            main = &dlg;
            if (c.box != 129) {
                ASSERT_TRUE(WaitFor([&] { return ReadyOn(dlg, *m_first); }));
            }
            c.raise(dlg.ConfPage());
            ASSERT_TRUE(WaitFor([&] { return Shown(ComPortCfgDlg::IDD) == 2; }));
            ASSERT_TRUE(WaitFor([&] { return ReadyOn(dlg, *m_second); }));
            Settle();
            EXPECT_TRUE(ReadyOn(dlg, *m_second));
        });
        EXPECT_EQ(BoxIds(boxes), (std::vector<int>{c.box, 106}));
        EXPECT_EQ(m_boxesUpAtSetup, 0);
        EXPECT_EQ(m_second->Commands(),
                  (std::vector<std::string>{"AT", "AT+MODELNAME?", "AT", "AT+QM?", "AT+VER?", "AT+INFO1?",
                                            "AT+INFO2?", "AT+TADDR?"}));
        EXPECT_EQ(m_second->Snapshot().factoryResets, 0);
    }
}

}  // namespace
