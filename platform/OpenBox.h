#pragma once

// A message box the window thread shows now. Boxes nest (a box's loop runs
// handlers that may show more), so every one that is up registers itself for
// its lifetime, and CloseAll can close them all. Window thread only.

#include <functional>

namespace ui {

class OpenBox {
public:
    OpenBox();
    ~OpenBox();
    OpenBox(const OpenBox&) = delete;
    OpenBox& operator=(const OpenBox&) = delete;

    // How the box is taken down when it is closed while it is up.
    void SetCloser(std::function<void()> close) { m_close = std::move(close); }
    bool Closed() const { return m_closed; }

    // Closes every box that is up; each stays registered until its call returns.
    static void CloseAll();
    // The boxes that are up and not closed.
    static int Count();

private:
    std::function<void()> m_close;
    bool m_closed = false;
};

}  // namespace ui
