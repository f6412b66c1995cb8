#pragma once

// The Qt object through which a window receives posted messages and timer
// expiries on the window thread. It lives exactly as long as the window.

#include <QObject>

#include "res/WinDefs.h"

namespace ui {

class Window;

class WindowLink : public QObject {
public:
    explicit WindowLink(Window* window) : m_window(window) {}

    // Runs the message on the window unless the window is gone. The link
    // may be let go from inside; it then deletes itself once done.
    void Deliver(UINT message, WPARAM wParam, LPARAM lParam);
    // The window is gone: deletes the link now, or after the delivery in
    // progress.
    void Release();

    static void Post(WindowLink* link, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    bool event(QEvent* event) override;

private:
    Window* m_window;
    int m_delivering = 0;
    bool m_released = false;
};

}  // namespace ui
