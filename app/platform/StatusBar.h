#pragma once

// A status bar with panes along the bottom of its parent's client area,
// created by code (control id AFX_IDW_STATUS_BAR).

#include <cstddef>
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
    // As above; when the pane is too narrow for the whole text, the part
    // [first, first + count) loses its middle to an ellipsis and the pane's
    // tip shows the whole text.
    bool SetPaneText(int index, std::u16string_view text, std::size_t first, std::size_t count,
                     bool update = true);
    // The whole text, as set.
    std::u16string GetPaneText(int index) const;
    // The width pane `index` needs to show `text` whole, in pixels.
    int GetPaneWidthFor(int index, std::u16string_view text) const;
    int GetPaneCount() const;
    int GetBarHeight() const;
};

}  // namespace ui
