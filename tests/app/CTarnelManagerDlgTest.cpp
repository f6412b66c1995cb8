#include "app/CTarnelManagerDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CAboutDlg.h"
#include "platform/Edit.h"
#include "platform/Language.h"
#include "platform/ListCtrl.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/TestHooks.h"
#include "platform/qt/WindowAccess.h"
#include "sim/PtyModule.h"
#include "tests/app/QtDialogDriver.h"
#include "tests/app/ScopedProfile.h"
#include "tests/support/TempDir.h"
#include "tests/support/UserInput.h"
#include "tests/support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using namespace tarnel::app::test;
using ComAnswer = std::function<void(ComPortCfgDlg&)>;

constexpr auto kDeadline = 20s;

bool WaitFor(const std::function<bool()>& condition) {
    return tarnel::test::WaitUntil(condition, kDeadline, ui::test::ProcessEvents);
}

ComAnswer OkIn(int mode) {
    return [mode](ComPortCfgDlg& dlg) {
        Click(dlg, mode == ComPortCfgDlg::MODE_TERMINAL ? ComPortCfgDlg::IDC_MODE_TERMINAL
                                                        : ComPortCfgDlg::IDC_MODE_CONFIGURATOR);
        Click(dlg, ui::IDOK);
    };
}

std::u16string Utf16(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

// The program's main dialog against the module simulator on a pseudo-terminal,
// with the COM port dialog answered from a queue (Cancel when it is empty)
// and every message box recorded and answered with OK.
class CTarnelManagerDlgTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_sim.Start());
        m_ports = {m_sim.SlavePath()};
    }

    void Answer(ComAnswer answer) { m_answers.push_back(std::move(answer)); }

    // Runs the main dialog modally; `body` acts while it shows, then the
    // dialog is closed. Returns what the modal run returned.
    int RunMain(const std::function<void(CTarnelManagerDlg&)>& body) {
        CTarnelManagerDlg dlg([this](std::vector<std::string>& ports) {
            ports = m_ports;
            return std::error_code{};
        });
        ui::SetMainWnd(&dlg);
        ui::test::ModalRecorder recorder([&](ui::Dialog& shown) {
            m_shown.push_back(shown.GetTemplateId());
            if (auto* com = dynamic_cast<ComPortCfgDlg*>(&shown)) {
                if (m_answers.empty()) return com->EndDialog(ui::IDCANCEL);
                ComAnswer answer = std::move(m_answers.front());
                m_answers.pop_front();
                return answer(*com);
            }
            if (&shown == &dlg) body(dlg);
            shown.EndDialog(kClosedByTest);
        });
        const int result = dlg.DoModal();
        ui::SetMainWnd(nullptr);
        return result;
    }

    int Shown(int templateId) const { return static_cast<int>(std::ranges::count(m_shown, templateId)); }
    int Received(const std::string& command) const {
        return static_cast<int>(std::ranges::count(m_sim.Commands(), command));
    }
    std::u16string PortStatus() const {
        return Utf16(m_sim.SlavePath()) + u", 9600, No parity, 1 stopbit, No flow control";
    }

    // The configurator's port is open and the module's settings are shown.
    bool ConfiguratorReady(CTarnelManagerDlg& dlg) const {
        return dlg.StatusBar().GetPaneText(0) == PortStatus() && dlg.ConfPage().IsPortOpen() &&
               dlg.ConfPage().GetDlgItem(TarnelConfPage::IDC_APPLY)->IsWindowEnabled();
    }
    bool TerminalReady(CTarnelManagerDlg& dlg) const {
        return dlg.StatusBar().GetPaneText(0) == PortStatus() && TerminalEnabled(dlg);
    }
    // The terminal page enables its controls only while its port is open.
    static bool TerminalEnabled(CTarnelManagerDlg& dlg) {
        return dlg.TermPage().GetDlgItem(SerialTermPage::IDC_SEND)->IsWindowEnabled();
    }

    static constexpr int kClosedByTest = 4242;

    ScopedProfile m_profile;
    ui::test::MessageBoxRecorder m_boxes;
    tarnel::sim::PtyModule m_sim;
    std::vector<std::string> m_ports;
    std::deque<ComAnswer> m_answers;
    std::vector<int> m_shown;
};

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
    m_ports = {"/dev/tarnel-test-no-such-port"};
    Answer(OkIn(ComPortCfgDlg::MODE_CONFIGURATOR));
    RunMain([&](CTarnelManagerDlg& dlg) {
        ASSERT_TRUE(WaitFor([&] { return m_boxes.Count() == 1; }));
        EXPECT_EQ(dlg.StatusBar().GetPaneText(0), u"COM port closed");
        EXPECT_FALSE(dlg.ConfPage().IsPortOpen());
    });
    ASSERT_EQ(m_boxes.Count(), 1u);
    const ui::test::MessageBoxCall box = m_boxes.Calls().front();
    EXPECT_EQ(box.text, u"Unable to open the COM port.: No such file or directory");
    EXPECT_EQ(box.style, ui::MB_OK | ui::MB_ICONERROR);
}

TEST_F(CTarnelManagerDlgTest, AKoreanInterfaceShowsTheKoreanTexts) {
    ui::SetUiLanguage(ui::Language::Korean);
    m_ports = {"/dev/tarnel-test-no-such-port"};
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
    EXPECT_EQ(m_boxes.Calls().front().text, u"COM 포트를 열 수 없습니다.: No such file or directory");
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

TEST_F(CTarnelManagerDlgTest, EscapeAndEnterDoNotCloseTheWindowButTheCloseButtonDoes) {
    RunMain([&](CTarnelManagerDlg& dlg) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(ui::QWidgetOf(dlg), &escape);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(ui::QWidgetOf(dlg), &enter);
        dlg.SendMessage(ui::WM_COMMAND, ui::IDOK);
        for (int i = 0; i < 5; ++i)
            ui::test::ProcessEvents();
        // Ending a dialog hides it at once.
        EXPECT_TRUE(dlg.IsWindowVisible());
        ui::QWidgetOf(dlg)->close();
        EXPECT_FALSE(dlg.IsWindowVisible());
    });
}

// Shows a real box (no hook answers it) and presses `key` into it once it
// has the focus. Returns the box's answer, or nullopt when the key left it
// open (it is then closed by the test so that the run goes on).
std::optional<int> KeyInBox(Qt::Key key, ui::UINT stringId, ui::UINT style) {
    bool escaped = false;
    bool stuck = false;
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isAncestorOf(QApplication::focusWidget())) return;
        if (!escaped) {
            escaped = true;
            tarnel::test::PressKey(key);
            QTimer::singleShot(kDeadline, box, [&stuck, box] {
                stuck = true;
                box->done(0);
            });
        }
    });
    presser.start(10);
    const int answer = ui::AfxMessageBox(stringId, style);
    if (!escaped || stuck) return std::nullopt;
    return answer;
}

// The main window's rule (Escape and Enter do not close it) does not take
// these keys from the boxes shown over it: Escape is Cancel, or closes a
// box that has only OK; Enter is OK.
TEST_F(CTarnelManagerDlgTest, EscapeAndEnterCloseAMessageBoxShownOverTheMainWindow) {
    RunMain([&](CTarnelManagerDlg&) {
        ui::test::SetMessageBoxHook({});
        constexpr ui::UINT kQuestion = ui::MB_OKCANCEL | ui::MB_ICONQUESTION;
        EXPECT_EQ(KeyInBox(Qt::Key_Escape, 128, kQuestion), ui::IDCANCEL) << "factory reset";
        EXPECT_EQ(KeyInBox(Qt::Key_Return, 128, kQuestion), ui::IDOK) << "factory reset";
        EXPECT_EQ(KeyInBox(Qt::Key_Escape, 112, ui::MB_ICONERROR), ui::IDOK) << "an error";
    });
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
using tarnel::sim::PtyModule;
using tarnel::sim::SimConfig;

int CountOf(const PtyModule& module, const std::string& command) {
    return static_cast<int>(std::ranges::count(module.Commands(), command));
}

// The main dialog with a first module that fails or is left, and a second
// one that the COM port dialog offers next.
class CTarnelManagerDlgPortTest : public CTarnelManagerDlgTest {
protected:
    void SetUp() override {}

    void StartFirst(SimConfig config) {
        m_first = std::make_unique<PtyModule>(std::move(config));
        m_second = std::make_unique<PtyModule>();
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
    static bool ReadyOn(CTarnelManagerDlg& dlg, const PtyModule& module) {
        return dlg.StatusBar().GetPaneText(0) ==
                   Utf16(module.SlavePath()) + u", 9600, No parity, 1 stopbit, No flow control" &&
               dlg.ConfPage().IsPortOpen() &&
               dlg.ConfPage().GetDlgItem(TarnelConfPage::IDC_APPLY)->IsWindowEnabled();
    }

    // Lets whatever is still due happen: events for a while.
    static void Settle() {
        tarnel::test::WaitUntil([] { return false; }, 1500ms, ui::test::ProcessEvents);
    }

    std::unique_ptr<PtyModule> m_first;
    std::unique_ptr<PtyModule> m_second;
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

namespace {

// What a status pane shows on the screen, whether that fits it, and its tip.
struct ShownPane {
    std::u16string text;
    bool fits;
    std::u16string tip;
};

ShownPane OnScreen(ui::StatusBar& bar, int index) {
    const auto panes = ui::QWidgetOf(bar)->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    const QLabel& pane = *panes.at(index);
    // A framed label without an indent of its own indents its text by half
    // an "x".
    const int indent = pane.indent() >= 0      ? pane.indent()
                       : pane.frameWidth() > 0 ? pane.fontMetrics().horizontalAdvance(u'x') / 2
                                               : 0;
    const int room = pane.contentsRect().width() - 2 * pane.margin() - indent;
    const bool fits = pane.fontMetrics().horizontalAdvance(pane.text()) <= room;
    return {pane.text().toStdU16String(), fits, pane.toolTip().toStdU16String()};
}

// The simulator's port under `path`, as a link in the virtual port directory is.
std::u16string LinkPort(const std::filesystem::path& path, const std::string& target) {
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::create_symlink(target, path);
    return path.u16string();
}

}  // namespace

// A port path as long as a link in the virtual port directory shows whole at
// the window's first size; a longer one loses the middle of its path, never
// the settings or the version, and the pane's tip tells the whole text.
TEST_F(CTarnelManagerDlgTest, TheStatusBarShowsThePortSettingsWholeOrShortensThePathsMiddle) {
    // As long as the link of a user whose runtime directory is /run/user/1000.
    const tarnel::test::TempDir dir("ts");
    const std::u16string usual = LinkPort(dir.Path() / "tarnel-ports" / "tarnel-sim", m_sim.SlavePath());
    ASSERT_GE(usual.size(), std::u16string_view(u"/run/user/1000/tarnel-ports/tarnel-sim").size());
    const std::u16string settings = u", 9600, No parity, 1 stopbit, No flow control";
    const std::u16string longPath =
        LinkPort(dir.Path() / std::string(40, 'd') / std::string(40, 'e') / "tarnel-ports" / "tarnel-sim",
                 m_sim.SlavePath());
    for (ui::Language language : {ui::Language::English, ui::Language::Korean}) {
        SCOPED_TRACE(language == ui::Language::Korean ? "Korean" : "English");
        ui::SetUiLanguage(language);
        for (const std::u16string& port : {usual, longPath}) {
            m_ports = {std::string(port.begin(), port.end())};
            Answer(OkIn(ComPortCfgDlg::MODE_CONFIGURATOR));
            RunMain([&](CTarnelManagerDlg& dlg) {
                ASSERT_TRUE(WaitFor([&] { return dlg.StatusBar().GetPaneText(0) == port + settings; }));
                ui::test::ProcessEvents();
                const ShownPane status = OnScreen(dlg.StatusBar(), 0);
                EXPECT_TRUE(status.fits) << QString::fromStdU16String(status.text).toStdString();
                if (port == usual) {
                    EXPECT_EQ(status.text, port + settings);
                    EXPECT_EQ(status.tip, u"");
                } else {
                    EXPECT_EQ(status.text.substr(0, 10), port.substr(0, 10));
                    EXPECT_NE(status.text.find(u"…"), std::u16string::npos);
                    EXPECT_TRUE(status.text.ends_with(u"tarnel-sim" + settings));
                    EXPECT_EQ(status.tip, port + settings);
                }
                const ShownPane version = OnScreen(dlg.StatusBar(), 1);
                EXPECT_EQ(version.text, u"Version 1.1.0");
                EXPECT_TRUE(version.fits);
            });
        }
    }
    ui::SetUiLanguage(ui::Language::English);
}

// The way a new user goes: the port chosen from the dropped-down list, the
// mode and OK clicked; then Search, a found device taken as the target and
// cleared again, Refresh and Apply, all clicked in the main window.
TEST_F(CTarnelManagerDlgTest, AUserChoosesThePortAndWorksTheConfiguratorByClicking) {
    const std::string sim = m_sim.SlavePath();
    // Listed first and proposed, so that only the user's choice opens the simulator.
    m_ports = {"/dev/aaa-tarnel-no-such-port", sim};
    Answer([&](ComPortCfgDlg& com) {
        EXPECT_EQ(com.m_portName, u"/dev/aaa-tarnel-no-such-port");
        EXPECT_TRUE(ChooseByClicking(com, ComPortCfgDlg::IDC_PORT, Utf16(sim)));
        Click(com, ComPortCfgDlg::IDC_MODE_CONFIGURATOR);
        Click(com, ui::IDOK);
    });
    RunMain([&](CTarnelManagerDlg& dlg) {
        TarnelConfPage& page = dlg.ConfPage();
        ASSERT_TRUE(WaitFor([&] { return ConfiguratorReady(dlg); }));

        Click(page, TarnelConfPage::IDC_SEARCH);
        ASSERT_TRUE(WaitFor([&] { return m_boxes.Count() == 1; }));
        EXPECT_EQ(m_boxes.Calls().back().stringId, 116);
        ASSERT_TRUE(WaitFor([&] { return ConfiguratorReady(dlg); }));
        auto& list = dynamic_cast<ui::ListCtrl&>(*page.GetDlgItem(TarnelConfPage::IDC_RESULT_LIST));
        ASSERT_GE(list.GetItemCount(), 1);

        auto* table = qobject_cast<QTableWidget*>(ui::QWidgetOf(list));
        tarnel::test::ClickOn(*table->viewport(), table->visualItemRect(table->item(0, 0)).center());
        Click(page, TarnelConfPage::IDC_TAKE_TARGET);
        auto& target = dynamic_cast<ui::Edit&>(*page.GetDlgItem(TarnelConfPage::IDC_TARGET));
        EXPECT_EQ(target.GetWindowText(), list.GetItemText(0, 0));
        EXPECT_TRUE(target.IsReadOnly());
        Click(page, TarnelConfPage::IDC_CLEAR_TARGET);
        EXPECT_EQ(target.GetWindowText(), u"");
        EXPECT_FALSE(target.IsReadOnly());

        const int checks = Received("AT+MODELNAME?");
        Click(page, TarnelConfPage::IDC_REFRESH);
        ASSERT_TRUE(
            WaitFor([&] { return Received("AT+MODELNAME?") == checks + 1 && ConfiguratorReady(dlg); }));

        Click(page, TarnelConfPage::IDC_APPLY);
        ASSERT_TRUE(WaitFor([&] { return Shown(ComPortCfgDlg::IDD) == 2; }));
    });
    EXPECT_EQ(Received("AT+INQ=60,1"), 1);
    EXPECT_EQ(Received("ATZ"), 1);
    ASSERT_EQ(m_boxes.Count(), 2u);
    EXPECT_EQ(m_boxes.Calls().back().stringId, 126);
}
