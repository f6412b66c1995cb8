#include "platform/WindowCore.h"

#include <algorithm>

namespace ui {

void JoinParent(Window& window, int id, Window* parent) {
    WindowCore& core = CoreOf(window);
    core.id = id;
    core.parent = parent;
    if (parent != nullptr) CoreOf(*parent).children.push_back(&window);
}

void LeaveParent(Window& window) {
    WindowCore& core = CoreOf(window);
    if (core.parent != nullptr) {
        auto& siblings = CoreOf(*core.parent).children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), &window), siblings.end());
    }
    core.parent = nullptr;
}

// A window that outlives its C++ object cannot be reached any more.
void AbandonWindow(Window& window) {
    WindowCore& core = CoreOf(window);
    if (window.IsWindow()) {
        for (Window* child : std::vector<Window*>(core.children))
            DetachToolkitWindow(*child);
        DestroyToolkitWindow(window, false);
    }
    for (auto& own : core.ownControls)
        DetachToolkitWindow(*own);
}

}  // namespace ui
