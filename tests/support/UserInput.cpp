#include "tests/support/UserInput.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "platform/Window.h"
#include "platform/qt/WindowAccess.h"

namespace tarnel::test {

namespace {

QWindow& TopLevelHandle(QWidget& widget) {
    QWidget* top = widget.window();
    if (!top->windowHandle()) top->winId();
    return *top->windowHandle();
}

QPoint PointInTopLevel(QWidget& control, QPoint offset) {
    const QPoint local = offset == QPoint(-1, -1) ? control.rect().center() : offset;
    return control.mapTo(control.window(), local);
}

// Keys go where Qt sends them: the focus widget's window, falling back to
// the active window when no widget has the focus.
QWindow* KeyTarget() {
    if (QWidget* focus = QApplication::focusWidget()) return &TopLevelHandle(*focus);
    if (QWidget* active = QApplication::activeWindow()) return &TopLevelHandle(*active);
    return QGuiApplication::focusWindow();
}

// The text a keyboard gives with a key: a control character for Ctrl and a
// letter (Ctrl+V is 0x16), none for other keys held with Ctrl or Alt, else
// the key's character, upper case with Shift.
QString KeyText(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z;
    if (modifiers & Qt::ControlModifier)
        return letter ? QString(QChar(static_cast<char16_t>(key - Qt::Key_A + 1))) : QString();
    if (modifiers & Qt::AltModifier) return {};
    const char ascii = QTest::keyToAscii(key);
    if (ascii == 0) return {};
    const QString text(QChar::fromLatin1(ascii));
    return (modifiers & Qt::ShiftModifier) ? text.toUpper() : text;
}

}  // namespace

void ClickWindowAt(QWidget& anyWidgetInIt, QPoint pos, Qt::MouseButton button) {
    QTest::mouseClick(&TopLevelHandle(anyWidgetInIt), button, Qt::NoModifier, pos);
}

QWidget* HitAt(QWidget& control, QPoint offset) {
    QWidget* top = control.window();
    return top->childAt(PointInTopLevel(control, offset));
}

QWidget* ClickOn(QWidget& control, QPoint offset, Qt::MouseButton button) {
    QWidget* hit = HitAt(control, offset);
    ClickWindowAt(control, PointInTopLevel(control, offset), button);
    return hit;
}

QWidget* ClickOn(const ui::Window& control, QPoint offset, Qt::MouseButton button) {
    return ClickOn(*ui::QWidgetOf(control), offset, button);
}

void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWindow* target = KeyTarget();
    if (!target) return;
    const QString text = KeyText(key, modifiers);
    QTest::sendKeyEvent(QTest::Press, target, key, text, modifiers);
    QTest::sendKeyEvent(QTest::Release, target, key, text, modifiers);
}

void TypeText(const QString& text) {
    QWindow* target = KeyTarget();
    if (!target) return;
    // A character outside the basic plane arrives as one key event holding
    // its surrogate pair, as Qt's keyboard input gives it.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype units = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const char16_t upper = text[i].toUpper().unicode();
        const auto key = upper < 0x80 ? Qt::Key(upper) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, target, key, text.mid(i, units), Qt::NoModifier);
        i += units;
    }
}

}  // namespace tarnel::test
