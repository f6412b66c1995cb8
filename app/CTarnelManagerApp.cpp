#include "app/CTarnelManagerApp.h"

#include <QByteArray>
#include <QImage>
#include <QMessageBox>

#include "app/CTarnelManagerDlg.h"
#include "platform/Window.h"
#include "res/ResourceTypes.h"

CTarnelManagerApp::CTarnelManagerApp(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

CTarnelManagerApp::~CTarnelManagerApp() = default;

bool CTarnelManagerApp::InitInstance() {
    if (QApplication::instance() == nullptr) {
        m_qtApp = std::make_unique<QApplication>(m_argc, m_argv);
    }
    if (!StartGraphics()) {
        m_graphicsFailed = true;
        ReportGraphicsFailure();
        return false;
    }
    // The settings store is named explicitly, not after the executable.
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmore"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarnel Manager"));
    // Lets the desktop find the installed entry and its icon for the windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("tarnel-manager"));

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
    const auto png = res::FindBinary("PNG", 131);
    QImage image;
    return image.loadFromData(png.data(), static_cast<int>(png.size()), "PNG");
}

void CTarnelManagerApp::ReportGraphicsFailure() {
    QMessageBox::critical(nullptr, QStringLiteral("Error"), QStringLiteral("Unable to initialize Gdiplus"));
}
