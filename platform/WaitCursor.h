#pragma once

// The program's one wait-cursor counter (Window::BeginWaitCursor and its
// kin) is kept here; the backend only shows the cursor the counter asks for.

namespace ui {

// Any thread: whether the counter is above zero.
bool IsWaitCursorOn();

// Defined by the backend. Window thread: shows the wait cursor while
// IsWaitCursorOn(), else the ordinary one.
void ApplyWaitCursor();

}  // namespace ui
