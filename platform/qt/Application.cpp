#include "platform/Application.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/QtText.h"

namespace ui {

struct Application::Impl {
    std::unique_ptr<QApplication> app;
};

Application::Application(int& argc, char** argv) : m_impl(std::make_unique<Impl>()) {
    if (QApplication::instance() == nullptr) m_impl->app = std::make_unique<QApplication>(argc, argv);
}

Application::~Application() = default;

void Application::SetProgramNames(std::u16string_view organisation, std::u16string_view application,
                                  std::u16string_view desktopEntry) {
    QCoreApplication::setOrganizationName(ToQString(organisation));
    QCoreApplication::setApplicationName(ToQString(application));
    QGuiApplication::setDesktopFileName(ToQString(desktopEntry));
}

void Application::ShowStartupError(std::u16string_view caption, std::u16string_view text) {
    QMessageBox::critical(nullptr, ToQString(caption), ToQString(text));
}

}  // namespace ui
