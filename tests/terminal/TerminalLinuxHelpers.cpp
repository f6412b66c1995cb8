#include "tests/terminal/TerminalLinuxHelpers.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/qt/QtText.h"
#include "tests/support/PtyPair.h"
#include "tests/terminal/TerminalTestHost.h"

namespace terminal_test {

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
