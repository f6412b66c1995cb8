#pragma once

// The layer's own operations on windows: attaching them to widgets, finding
// the window of a widget, delivering notifications.

#include "platform/Window.h"
#include "platform/qt/WindowState.h"

class QPainter;
class QWidget;

namespace ui {

class WindowAccess {
public:
    static Window::State& StateOf(const Window& window) { return *window.m_state; }

    // Makes `window` stand for `widget` (owned: deleted when the window is
    // destroyed) as a child of `parent` (nullptr: top-level).
    static void Attach(Window& window, QWidget* widget, int id, Window* parent, bool ownsWidget);

    // The window that stands for exactly this widget, or nullptr.
    static Window* FromWidget(const QWidget* widget);
    // The window of this widget or of its nearest ancestor that has one.
    static Window* FindWindowFor(const QWidget* widget);

    // The widget that holds a window's children (a dialog's client area).
    static QWidget* ClientWidget(const Window& window);

    // A notification of `control`: to the control's own reflected handler,
    // else to its parent as WM_COMMAND.
    static void Notify(Window& control, UINT code);
    static bool Paint(Window& window, QPainter& painter);
};

// The Qt widget of a window (nullptr while the window does not exist).
inline QWidget* QWidgetOf(const Window& window) {
    return WindowAccess::StateOf(window).widget;
}

}  // namespace ui
