#include "platform/Window.h"

#include <vector>

#include "platform/WindowCore.h"

namespace ui {
namespace {

Window* g_mainWnd = nullptr;

}  // namespace

Window* AfxGetMainWnd() {
    return g_mainWnd != nullptr && g_mainWnd->IsWindow() ? g_mainWnd : nullptr;
}

void SetMainWnd(Window* window) {
    g_mainWnd = window;
}

void Window::DestroyWindow() {
    if (!IsWindow()) return;
    WindowCore& core = CoreOf(*this);
    for (Window* child : std::vector<Window*>(core.children))
        child->DestroyWindow();
    DestroyToolkitWindow(*this, true);
    core.controls.clear();
    core.ownControls.clear();
    PostNcDestroy();
}

int Window::GetDlgCtrlID() const {
    return CoreOf(*this).id;
}

Window* Window::GetParent() const {
    return CoreOf(*this).parent;
}

Window* Window::GetDlgItem(int id) const {
    const auto& controls = CoreOf(*this).controls;
    auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second;
}

LRESULT Window::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow()) return 0;
    return WindowProc(message, wParam, lParam);
}

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    CoreOf(*this).map.Dispatch(message, wParam, lParam, result);
    return result;
}

bool Window::PreTranslateMessage(const MSG&) {
    return false;
}

void Window::PostNcDestroy() {}

void Window::PreSubclassWindow() {}

bool Window::CanAttachTo(const res::ControlTemplate&) const {
    return true;
}

void Window::AddCommand(int first, int last, UINT code, std::function<void(UINT)> fn) {
    CoreOf(*this).map.AddCommand(first, last, code, std::move(fn));
}

void Window::AddMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> fn) {
    CoreOf(*this).map.AddMessage(message, std::move(fn));
}

void Window::AddReflect(UINT code, std::function<void()> fn) {
    CoreOf(*this).map.AddReflect(code, std::move(fn));
}

void Window::SetPaintHandler(std::function<void(Painter&)> fn) {
    CoreOf(*this).paint = std::move(fn);
}

void Window::MoveWindow(const RECT& rect, bool repaint) {
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), repaint);
}

std::u16string Window::GetDlgItemText(int id) const {
    const Window* item = GetDlgItem(id);
    return item != nullptr ? item->GetWindowText() : std::u16string();
}

void Window::SetDlgItemText(int id, std::u16string_view text) {
    if (Window* item = GetDlgItem(id)) item->SetWindowText(text);
}

}  // namespace ui
