#include "terminal/InputMethodFilter.h"

#include <QInputMethodEvent>

bool InputMethodFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::InputMethod) return QObject::eventFilter(watched, event);
    const QString result = static_cast<QInputMethodEvent*>(event)->commitString();
    if (!result.isEmpty()) {
        m_onResult(std::u16string_view(reinterpret_cast<const char16_t*>(result.utf16()),
                                       static_cast<std::size_t>(result.size())));
    }
    return true;
}
