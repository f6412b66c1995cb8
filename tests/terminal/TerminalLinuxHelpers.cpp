#include "tests/terminal/TerminalLinuxHelpers.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/qt/QtText.h"

namespace terminal_test {

void PressKey(QWidget* widget, int qtKey, const std::u16string& text) {
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, ui::ToQString(text));
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, ui::ToQString(text));
    QCoreApplication::sendEvent(widget, &release);
}

}  // namespace terminal_test
