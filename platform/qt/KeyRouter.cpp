#include "platform/qt/KeyRouter.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include "platform/qt/WindowAccess.h"

namespace ui {

void KeyRouter::Install() {
    static KeyRouter* router = nullptr;
    if (router != nullptr || QCoreApplication::instance() == nullptr) return;
    router = new KeyRouter;
    router->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(router);
}

UINT KeyRouter::VirtualKey(const QKeyEvent& event) {
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<UINT>(key);  // Qt and Windows agree on these
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + static_cast<UINT>(key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Space:
            return 0x20;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_End:
            return VK_END;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Insert:
            return VK_INSERT;
        case Qt::Key_Delete:
            return VK_DELETE;
        default:
            return 0;
    }
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || event == m_passing || !watched->isWidgetType()) return false;
    return Route(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event));
}

bool KeyRouter::Route(QWidget* receiver, QKeyEvent* event) {
    // A message box is a window of its own, not one of the program's: its
    // keys (Escape for Cancel) never reach the PreTranslateMessage chain of
    // the window that owns it.
    if (qobject_cast<QDialog*>(receiver->window()) != nullptr &&
        WindowAccess::FromWidget(receiver->window()) == nullptr)
        return false;
    Window* target = WindowAccess::FindWindowFor(receiver);
    if (target == nullptr) return false;
    const QPointer<QWidget> alive(receiver);
    const UINT vk = VirtualKey(*event);
    event->accept();

    const MSG msg{target, WM_KEYDOWN, vk, 0};
    for (Window* window = target; window != nullptr; window = window->GetParent()) {
        if (window->PreTranslateMessage(msg)) return true;
        if (!alive) break;
    }
    if (!alive || target->SendMessage(WM_KEYDOWN, vk, 0) != 0) return true;

    // Windows sends no character for Delete; Qt gives it the DEL code.
    const QString text = event->key() == Qt::Key_Delete ? QString() : event->text();
    bool allHandled = !text.isEmpty();
    for (QChar unit : text) {
        if (!alive) return true;
        if (target->SendMessage(WM_CHAR, unit.unicode(), 0) == 0) allHandled = false;
    }
    if (allHandled || !alive) return true;

    const QEvent* outer = m_passing;
    m_passing = event;
    QCoreApplication::sendEvent(receiver, event);
    m_passing = outer;
    event->accept();
    return true;
}

}  // namespace ui
