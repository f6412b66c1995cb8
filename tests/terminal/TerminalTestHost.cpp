#include "tests/terminal/TerminalTestHost.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include "app/platform/Profile.h"
#include "app/platform/QtText.h"
#include "app/platform/TestHooks.h"
#include "app/platform/Window.h"
#include "res/ResourceTypes.h"
#include "tests/support/PtyPair.h"
#include "tests/support/WaitUntil.h"

namespace terminal_test {
namespace {

// The window tests need a QApplication on the main thread and a settings
// store of their own.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        m_profile = std::make_unique<QTemporaryDir>();
        ui::SetProfileDirectory(m_profile->path().toStdString());
    }
    void TearDown() override {
        ui::SetProfileDirectory({});
        m_profile.reset();
        m_app.reset();
    }

private:
    int m_argc = 1;
    char m_name[16] = "terminal_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
    std::unique_ptr<QTemporaryDir> m_profile;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

const res::DialogTemplate& HostTemplate() {
    static const res::DialogTemplate host{0,
                                          {u"Host", u"Host"},
                                          u"MS Shell Dlg",
                                          8,
                                          330,
                                          260,
                                          ui::WS_POPUP | ui::WS_CAPTION | ui::WS_VISIBLE,
                                          0,
                                          0,
                                          {}};
    return host;
}

}  // namespace

HostDialog::HostDialog() : ui::Dialog(HostTemplate()) {}

ui::LRESULT HostDialog::WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
    if (message == ui::WM_COMMAND && wParam == 32772) ++setupComPortCommands;
    return ui::Dialog::WindowProc(message, wParam, lParam);
}

void WithHostWindow(const std::function<void(HostDialog& host)>& body) {
    HostDialog host;
    ui::test::SetModalHook([&](ui::Dialog&) {
        ui::SetMainWnd(&host);
        body(host);
        host.EndDialog(ui::IDOK);
    });
    host.DoModal();
    ui::test::SetModalHook({});
    ui::SetMainWnd(nullptr);
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    return tarnel::test::WaitUntil(condition, timeout, [] { ui::test::ProcessEvents(); });
}

void Settle(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    WaitFor([end] { return std::chrono::steady_clock::now() >= end; }, duration * 2);
}

std::string ReceivePumping(tarnel::test::PtyPair& pty, std::size_t count, std::chrono::milliseconds timeout) {
    std::string got;
    WaitFor(
        [&] {
            got += pty.Receive(count - got.size(), std::chrono::milliseconds(10));
            return got.size() >= count;
        },
        timeout);
    return got;
}

void PressKey(QWidget* widget, int qtKey, const std::u16string& text) {
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, ui::ToQString(text));
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, ui::ToQString(text));
    QCoreApplication::sendEvent(widget, &release);
}

}  // namespace terminal_test
