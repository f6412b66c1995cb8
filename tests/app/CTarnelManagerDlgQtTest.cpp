#include "app/CTarnelManagerDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Edit.h"
#include "platform/Language.h"
#include "platform/ListCtrl.h"
#include "platform/MessageBox.h"
#include "platform/TestHooks.h"
#include "platform/qt/WindowAccess.h"
#include "serial/IoServiceExec.h"
#include "tests/app/MainDialogFixture.h"
#include "tests/app/QtDialogDriver.h"
#include "tests/sim/ScopedRuntimeDir.h"
#include "tests/support/HangGuard.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/TempDir.h"
#include "tests/support/UserInput.h"
#include "tests/support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using namespace tarnel::app::test;

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

// --- A module that goes as its port opens, and the one plugged in after it ---------

namespace {

using tarnel::test::SimModule;

enum class Gone {
    BeforeTheOpening,  // pulled between the COM port dialog's OK and the opening
    AsTheCheckBegins,  // pulled as soon as the port is open
    // Pulled as the port opens; the window thread's reset (as "Setup COM
    // port" sends it) then goes to the dying port before the error is handled.
    BeforeAReset,
};

bool ConfiguratorRead(CTarnelManagerDlg& dlg) {
    return dlg.ConfPage().IsPortOpen() &&
           dlg.ConfPage().GetDlgItem(TarnelConfPage::IDC_APPLY)->IsWindowEnabled();
}

void Pull(CTarnelManagerDlg& dlg, SimModule& module, Gone gone) {
    if (gone == Gone::BeforeTheOpening) return;
    ASSERT_TRUE(WaitFor([&] { return dlg.ConfPage().IsPortOpen(); }));
    module.Unplug();
    if (gone != Gone::BeforeAReset) return;
    // No events meanwhile: the port error waits in the queue while the reset
    // goes to the dying port (the channel test pins the stopped executor).
    dlg.ConfPage().ResetModule();
}

// A port that fails at any moment from OK on is reported once; nothing of
// that opening reaches the module plugged in next on the same link.
TEST_F(CTarnelManagerDlgTest, AModuleGoneAsItsPortOpensIsReportedOnceAndTheNextIsReadUntouched) {
    struct Row {
        const char* name;
        Gone gone;
        std::u16string box;
    };
    const Row rows[] = {
        {"between OK and the opening", Gone::BeforeTheOpening,
         MissingPortBox(u"Unable to open the COM port.")},
        {"as the check begins", Gone::AsTheCheckBegins, u"Error on COM port. Closing the port."},
        {"before a reset", Gone::BeforeAReset, u"Error on COM port. Closing the port."},
    };
    const tarnel::sim::test::ScopedRuntimeDir runtime;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SimModule first;
        SimModule next;
        std::filesystem::path link;
        ASSERT_FALSE(first.Start());
        ASSERT_FALSE(first.Publish("openings", link));
        m_ports = {link.string()};
        ui::test::MessageBoxRecorder boxes;
        Answer([&](ComPortCfgDlg& com) {
            OkIn(ComPortCfgDlg::MODE_CONFIGURATOR)(com);
            if (row.gone == Gone::BeforeTheOpening) first.Unplug();
        });
        Answer([&](ComPortCfgDlg& com) {
            std::filesystem::path same;
            EXPECT_FALSE(next.Start());
            EXPECT_FALSE(next.Publish("openings", same));
            EXPECT_EQ(same, link);
            OkIn(ComPortCfgDlg::MODE_CONFIGURATOR)(com);
        });
        const tarnel::test::HangGuard guard(60s, row.name);
        RunMain([&](CTarnelManagerDlg& dlg) {
            ASSERT_NO_FATAL_FAILURE(Pull(dlg, first, row.gone));
            ASSERT_TRUE(WaitFor([&] { return boxes.Count() == 1; }));
            // A port that could not be opened does not offer the settings again.
            if (row.gone == Gone::BeforeTheOpening) {
                dlg.PostMessage(ui::WM_COMMAND, CTarnelManagerDlg::ID_SETUP_COM_PORT, 0);
            }
            ASSERT_TRUE(WaitFor([&] { return ConfiguratorRead(dlg); }));
            tarnel::test::WaitUntil([] { return false; }, 500ms, ui::test::ProcessEvents);
            EXPECT_TRUE(ConfiguratorRead(dlg));
        });
        std::vector<std::string> shown;
        for (const ui::test::MessageBoxCall& call : boxes.Calls())
            shown.push_back(QString::fromStdU16String(call.text).toStdString());
        EXPECT_EQ(shown, std::vector<std::string>{QString::fromStdU16String(row.box).toStdString()});
        EXPECT_EQ(next.Commands(), (std::vector<std::string>{"AT", "AT+MODELNAME?", "AT", "AT+QM?", "AT+VER?",
                                                             "AT+INFO1?", "AT+INFO2?", "AT+TADDR?"}));
    }
}

}  // namespace
