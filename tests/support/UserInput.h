#pragma once

// Reaches the program the way a person does: a click lands on a point of a
// top-level window and Qt's own hit testing decides which control gets it;
// keys go to whatever holds the focus. A control that lies under another one
// therefore misses the click here as it would on a screen.

#include <QPoint>
#include <QString>
#include <Qt>

class QWidget;

namespace ui {
class Window;
}

namespace tarnel::test {

// Clicks `pos` (in the top-level window's coordinates) of the window that
// holds `anyWidgetInIt`, with the left button unless told otherwise.
void ClickWindowAt(QWidget& anyWidgetInIt, QPoint pos, Qt::MouseButton button = Qt::LeftButton);
// Clicks where a person aims at `control`: its centre, or `offset` from its
// top left corner, translated to its top-level window. Returns the widget
// Qt found at that point, to check a click reached its aim; nullptr when the
// point lies outside the top-level window, where no click can land.
QWidget* ClickOn(QWidget& control, QPoint offset = {-1, -1}, Qt::MouseButton button = Qt::LeftButton);
QWidget* ClickOn(const ui::Window& control, QPoint offset = {-1, -1},
                 Qt::MouseButton button = Qt::LeftButton);
// The widget a click at the control's centre reaches through hit testing.
QWidget* HitAt(QWidget& control, QPoint offset = {-1, -1});

// Presses one key into the focused widget of the active window (a modal box
// included), as a key-down and its release, with the text a keyboard gives
// (Ctrl with a letter gives its control character).
void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Types `text` into the focused widget, one key press per character.
void TypeText(const QString& text);

}  // namespace tarnel::test
