#include "tests/support/UserInput.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "app/platform/Window.h"

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
    return ClickOn(*control.GetQWidget(), offset, button);
}

void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (QWindow* target = KeyTarget()) QTest::keyClick(target, key, modifiers);
}

void TypeText(const QString& text) {
    QWindow* target = KeyTarget();
    if (!target) return;
    for (const QChar c : text) {
        const char16_t upper = c.toUpper().unicode();
        const auto key = upper < 0x80 ? Qt::Key(upper) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, target, key, QString(c), Qt::NoModifier);
    }
}

}  // namespace tarnel::test
