#include "platform/qt/InputMethodFilter.h"

#include <QCoreApplication>
#include <QInputMethodEvent>

bool InputMethodFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::InputMethod || event == m_passing)
        return QObject::eventFilter(watched, event);
    const auto* input = static_cast<QInputMethodEvent*>(event);
    const QString result = input->commitString();
    if (!result.isEmpty() || !input->preeditString().isEmpty()) m_onComposing();
    if (!result.isEmpty()) {
        m_onResult(std::u16string_view(reinterpret_cast<const char16_t*>(result.utf16()),
                                       static_cast<std::size_t>(result.size())));
    }
    // The widget gets the composition alone (an empty one ends it): no
    // result to insert, and no selection the input method would set in the
    // received text.
    QList<QInputMethodEvent::Attribute> attributes;
    for (const QInputMethodEvent::Attribute& attribute : input->attributes()) {
        if (attribute.type != QInputMethodEvent::Selection) attributes.push_back(attribute);
    }
    QInputMethodEvent composition(input->preeditString(), attributes);
    m_passing = &composition;
    QCoreApplication::sendEvent(watched, &composition);
    m_passing = nullptr;
    return true;
}
