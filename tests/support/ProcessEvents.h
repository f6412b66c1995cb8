#pragma once

namespace ui::test {

// Runs the window thread's pending events (posted messages, timers, box
// requests) once; a pump for tests::WaitUntil. Each backend's folder has it.
void ProcessEvents();

}  // namespace ui::test
