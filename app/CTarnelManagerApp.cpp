#include "app/CTarnelManagerApp.h"

#include "app/CTarnelManagerDlg.h"
#include "platform/Image.h"
#include "platform/Window.h"
#include "res/FixedTexts.h"
#include "res/ResourceTypes.h"

CTarnelManagerApp::CTarnelManagerApp(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

CTarnelManagerApp::~CTarnelManagerApp() = default;

bool CTarnelManagerApp::InitInstance() {
    m_uiApp = std::make_unique<ui::Application>(m_argc, m_argv);
    if (!StartGraphics()) {
        m_graphicsFailed = true;
        ReportGraphicsFailure();
        return false;
    }
    // Named explicitly, not after the executable; the desktop entry lets the
    // desktop find the installed icon for the windows.
    ui::Application::SetProgramNames(u"Quillmore", u"Tarnel Manager", u"tarnel-manager");

    {
        CTarnelManagerDlg dlg;
        ui::SetMainWnd(&dlg);
        dlg.DoModal();
        ui::SetMainWnd(nullptr);
    }
    return false;
}

int CTarnelManagerApp::Run() {
    InitInstance();
    return m_graphicsFailed ? 1 : 0;
}

bool CTarnelManagerApp::StartGraphics() {
    return !ui::Image::FromPng(res::FindBinary("PNG", 131)).IsNull();
}

void CTarnelManagerApp::ReportGraphicsFailure() {
    ui::Application::ShowStartupError(res::kErrorCaption, ui::Image::StartFailureText());
}
