#pragma once

#include <QObject>
#include <functional>
#include <string_view>

// Takes every input-method event away from the widget it filters: the
// composition is never inserted there, and each result string is handed to
// `onResult` instead.
class InputMethodFilter : public QObject {
public:
    explicit InputMethodFilter(std::function<void(std::u16string_view)> onResult, QObject* parent)
        : QObject(parent), m_onResult(std::move(onResult)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(std::u16string_view)> m_onResult;
};
