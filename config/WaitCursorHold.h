#pragma once

// The configurator's share of the program's wait cursor: at most one count,
// however often its operations and jobs begin it. From any thread.

#include <atomic>

class WaitCursorHold {
public:
    void Begin();
    void End();

private:
    std::atomic<bool> m_holdsWaitCursor{false};
};
