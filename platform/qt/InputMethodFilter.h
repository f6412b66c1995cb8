#pragma once

#include <QObject>
#include <functional>
#include <string_view>

class QEvent;

// Stands between an input method and the widget it filters: the composition
// is shown in the widget as the input method's inline text, but a result
// string is never inserted there; it is handed to `onResult` instead.
// `onComposing` runs before the widget shows a composition or a result
// arrives, so that the owner can put the caret where the text belongs.
class InputMethodFilter : public QObject {
public:
    InputMethodFilter(std::function<void(std::u16string_view)> onResult, std::function<void()> onComposing,
                      QObject* parent)
        : QObject(parent), m_onResult(std::move(onResult)), m_onComposing(std::move(onComposing)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(std::u16string_view)> m_onResult;
    std::function<void()> m_onComposing;
    const QEvent* m_passing = nullptr;  // the composition now given to the widget
};
