#pragma once

// The window thread on Win32: the thread that starts the layer (the
// application, or the first window of a test).

namespace ui::win32 {

// Makes the calling thread the window thread unless one is already, and
// readies it to run work that PostToWindowThread hands it.
void StartWindowThread();

}  // namespace ui::win32
