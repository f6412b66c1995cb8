#pragma once

// Turns key presses on the layer's widgets into the Windows sequence: the
// PreTranslateMessage walk, WM_KEYDOWN, then WM_CHAR per UTF-16 unit, and
// only then the widget's own key handling (when nothing swallowed the key).

#include <QObject>

#include "res/WinDefs.h"

class QKeyEvent;

namespace ui {

class KeyRouter : public QObject {
public:
    // Installs the router on the application once; later calls do nothing.
    static void Install();
    // The Windows virtual key of a Qt key event (0 for keys it lacks).
    static UINT VirtualKey(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Route(QWidget* receiver, QKeyEvent* event);

    const QEvent* m_passing = nullptr;  // the event now given to Qt's own handling
};

}  // namespace ui
