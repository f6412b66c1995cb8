#pragma once

// What a window is apart from its toolkit: its message map, its place among
// the windows, and a dialog's controls. The shared part keeps the logic over
// it; each backend's Window::State extends it with the toolkit's window and
// defines the hooks below.

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/MessageMap.h"
#include "platform/Window.h"

namespace ui {

struct WindowCore {
    MessageMap map;
    std::function<void(Painter&)> paint;

    int id = 0;
    Window* parent = nullptr;
    std::vector<Window*> children;

    // Controls of a dialog by id: the bound member or the layer's wrapper.
    std::map<int, Window*> controls;
    std::vector<std::unique_ptr<Window>> ownControls;
};

// Makes `window` control `id` of `parent` (nullptr: a top-level window).
void JoinParent(Window& window, int id, Window* parent);
// Takes `window` out of its parent's children; it is top-level after.
void LeaveParent(Window& window);
// For the backend's ~Window: lets the toolkit's windows of `window`, its
// children and its wrappers go, destroying only what `window` owns. Nothing
// reaches the object afterwards.
void AbandonWindow(Window& window);

// --- Defined by the backend ----------------------------------------------

WindowCore& CoreOf(const Window& window);
// Lets the toolkit's window go without destroying it and without
// PostNcDestroy: its messages, posts and timers no longer reach `window`,
// and `window` leaves its parent.
void DetachToolkitWindow(Window& window);
// Detaches `window` and destroys its toolkit window where the toolkit's own
// rules say so: `explicitly` for DestroyWindow, else for an object that goes
// while its window still exists.
void DestroyToolkitWindow(Window& window, bool explicitly);
// `to` takes over the toolkit's window of the dialog control `from` (which
// lets it go) as control `id` of `dialog`, its messages reaching `to` first.
void HandOverToolkitWindow(Window& from, Window& to, int id, Window& dialog);

}  // namespace ui
