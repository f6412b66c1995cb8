#include "platform/qt/WindowLink.h"

#include <QCoreApplication>
#include <QEvent>

#include "platform/Window.h"

namespace ui {
namespace {

const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedMessage : public QEvent {
public:
    PostedMessage(UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(kPostedMessage), message(message), wParam(wParam), lParam(lParam) {}
    const UINT message;
    const WPARAM wParam;
    const LPARAM lParam;
};

}  // namespace

void WindowLink::Post(WindowLink* link, UINT message, WPARAM wParam, LPARAM lParam) {
    QCoreApplication::postEvent(link, new PostedMessage(message, wParam, lParam));
}

void WindowLink::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_released) return;
    ++m_delivering;
    m_window->SendMessage(message, wParam, lParam);
    --m_delivering;
    if (m_released && m_delivering == 0) delete this;
}

void WindowLink::Release() {
    m_released = true;
    if (m_delivering == 0) delete this;
}

bool WindowLink::event(QEvent* event) {
    if (event->type() != kPostedMessage) return QObject::event(event);
    const auto* posted = static_cast<const PostedMessage*>(event);
    Deliver(posted->message, posted->wParam, posted->lParam);
    return true;
}

}  // namespace ui
