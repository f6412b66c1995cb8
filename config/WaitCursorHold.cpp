#include "config/WaitCursorHold.h"

#include "platform/Window.h"

void WaitCursorHold::Begin() {
    if (!m_holdsWaitCursor.exchange(true)) ui::Window::BeginWaitCursor();
}

void WaitCursorHold::End() {
    if (m_holdsWaitCursor.exchange(false)) ui::Window::EndWaitCursor();
}
