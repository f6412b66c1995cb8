#pragma once

// A status bar with panes along the bottom of its parent's client area,
// created by code (control id AFX_IDW_STATUS_BAR).

#include <vector>

#include "app/platform/Window.h"

namespace ui {

class StatusBar : public Window {
public:
    // Creates the bar as a child of `parent`, along its bottom edge; it stays
    // there when the parent is resized. The parent is not resized: make room
    // with GetBarHeight. False when the parent has no window.
    bool Create(Window* parent);
    // One pane per id, each showing the string with that id at first.
    bool SetIndicators(const std::vector<UINT>& ids);
    // SBPS_STRETCH makes the pane take the room left over; otherwise `width`
    // pixels.
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    bool SetPaneText(int index, std::u16string_view text, bool update = true);
    std::u16string GetPaneText(int index) const;
    int GetPaneCount() const;
    int GetBarHeight() const;
};

}  // namespace ui
