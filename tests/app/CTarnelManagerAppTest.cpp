#include "app/CTarnelManagerApp.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/CTarnelManagerDlg.h"
#include "platform/TestHooks.h"
#include "platform/Window.h"
#include "tests/app/ScopedProfile.h"
#include "tests/support/ModalRecorder.h"
#include "tests/support/ProgramNames.h"

namespace {

using tarnel::app::test::ScopedProfile;
using tarnel::test::CurrentProgramNames;
using tarnel::test::ProgramNames;

class AppWithoutGraphics : public CTarnelManagerApp {
public:
    using CTarnelManagerApp::CTarnelManagerApp;
    int m_reports = 0;

protected:
    bool StartGraphics() override { return false; }
    void ReportGraphicsFailure() override { ++m_reports; }
};

class CTarnelManagerAppTest : public testing::Test {
protected:
    ScopedProfile m_profile;
    int m_argc = 1;
    char m_name[16] = "tarnel-manager";
    char* m_argv[2] = {m_name, nullptr};
};

TEST_F(CTarnelManagerAppTest, RunsTheMainDialogModallyAsTheMainWindow) {
    std::vector<int> shown;
    ui::Window* mainWhileShown = nullptr;
    ui::test::ModalRecorder recorder([&](ui::Dialog& dlg) {
        shown.push_back(dlg.GetTemplateId());
        if (dlg.GetTemplateId() == CTarnelManagerDlg::IDD) mainWhileShown = ui::AfxGetMainWnd();
        dlg.EndDialog(ui::IDCANCEL);
    });
    CTarnelManagerApp app(m_argc, m_argv);
    EXPECT_FALSE(app.InitInstance());
    // The COM port dialog comes up from the main dialog's initialisation.
    EXPECT_EQ(shown, (std::vector<int>{ComPortCfgDlg::IDD, CTarnelManagerDlg::IDD}));
    EXPECT_NE(mainWhileShown, nullptr);
    EXPECT_EQ(ui::AfxGetMainWnd(), nullptr);
    EXPECT_EQ(CurrentProgramNames(), (ProgramNames{u"Quillmore", u"Tarnel Manager"}));
    // Naming the program leaves the test's own store in use.
    ScopedProfile::Set(u"Probe", 1);
    EXPECT_FALSE(m_profile.IsEmpty());
}

TEST_F(CTarnelManagerAppTest, GraphicsThatCannotStartGiveOnlyTheFailureBox) {
    ui::test::ModalRecorder recorder;
    AppWithoutGraphics app(m_argc, m_argv);
    EXPECT_EQ(app.Run(), 1);
    EXPECT_EQ(app.m_reports, 1);
    EXPECT_TRUE(recorder.TemplateIds().empty());
    EXPECT_TRUE(m_profile.IsEmpty());
}

}  // namespace
