#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include <unordered_map>

#include "platform/Image.h"
#include "platform/WindowCore.h"
#include "platform/win32/GdiplusImage.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Font.h"
#include "platform/win32/Win32Image.h"
#include "platform/win32/WindowAccess.h"
#include "platform/win32/WindowRouting.h"
#include "platform/win32/WindowTarget.h"
#include "platform/win32/WindowThreadStart.h"

namespace ui {
namespace {

std::unordered_map<HWND, Window*>& Registry() {
    static std::unordered_map<HWND, Window*> registry;
    return registry;
}

bool IsTopLevelHwnd(HWND hwnd) {
    return (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) == 0;
}

// How far the menu bar (with the line below it) pushes a top-level window's
// client area down: what lies between frame and client beyond the caption.
int MenuHeight(HWND hwnd) {
    if (!IsTopLevelHwnd(hwnd) || ::GetMenu(hwnd) == nullptr) return 0;
    ::RECT frame{};
    ::GetWindowRect(hwnd, &frame);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    ::RECT plain{0, 0, 0, 0};
    AdjustWindowRectEx(&plain, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    return origin.y - frame.top + plain.top;
}

// The frame that gives a top-level window this client rectangle on the screen.
::RECT FrameFor(HWND hwnd, ::RECT client) {
    AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    client.top -= MenuHeight(hwnd);
    return client;
}

const wchar_t* BlankClass() {
    static const wchar_t* const name = [] {
        WNDCLASSW cls{};
        cls.style = CS_DBLCLKS;
        cls.lpfnWndProc = DefWindowProcW;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        cls.lpszClassName = L"Tarnel.Window";
        RegisterClassW(&cls);
        return cls.lpszClassName;
    }();
    return name;
}

void SetHwnd(auto& state, HWND hwnd) {
    std::lock_guard lock(state.hwndMutex);
    state.hwnd = hwnd;
}

void DropIcon(auto& state) {
    if (state.icon != nullptr) DestroyIcon(state.icon);
    state.icon = nullptr;
}

}  // namespace

// --- WindowAccess -----------------------------------------------------------

Window* WindowAccess::FromHwnd(HWND hwnd) {
    auto it = Registry().find(hwnd);
    return it == Registry().end() ? nullptr : it->second;
}

Window* WindowAccess::FindWindowFor(HWND hwnd) {
    for (; hwnd != nullptr; hwnd = GetParent(hwnd)) {
        if (Window* window = FromHwnd(hwnd)) return window;
    }
    return nullptr;
}

void WindowAccess::Attach(Window& window, HWND hwnd, int id, Window* parent, bool owns) {
    win32::StartWindowThread();
    Window::State& state = StateOf(window);
    state.ownsHwnd = owns;
    JoinParent(window, id, parent);
    Registry()[hwnd] = &window;
    SetHwnd(state, hwnd);
}

void WindowAccess::AttachRouted(Window& window, HWND hwnd, int id, Window* parent, bool owns) {
    Attach(window, hwnd, id, parent, owns);
    win32::AttachControl(hwnd, MakeTarget(window, {}));
}

win32::MessageTarget& WindowAccess::MakeTarget(Window& window, std::function<void(HWND)> onInit) {
    auto& target = StateOf(window).target;
    target = std::make_unique<win32::WindowTarget>(window, std::move(onInit));
    return *target;
}

// --- The shared part's hooks ------------------------------------------------

WindowCore& CoreOf(const Window& window) {
    return WindowAccess::StateOf(window);
}

void DetachToolkitWindow(Window& window) {
    auto& state = WindowAccess::StateOf(window);
    HWND hwnd = state.hwnd;
    if (hwnd == nullptr) return;
    win32::DetachTarget(hwnd);
    for (UINT id : state.timers)
        ::KillTimer(hwnd, id);
    state.timers.clear();
    auto it = Registry().find(hwnd);
    if (it != Registry().end() && it->second == &window) Registry().erase(it);
    LeaveParent(window);
    SetHwnd(state, nullptr);
}

// DestroyWindow destroys a dialog's control too, as ::DestroyWindow does; an
// object that goes leaves its dialog's controls to the dialog.
void DestroyToolkitWindow(Window& window, bool explicitly) {
    auto& state = WindowAccess::StateOf(window);
    HWND hwnd = state.hwnd;
    const bool owns = state.ownsHwnd;
    DetachToolkitWindow(window);
    if (explicitly || owns) ::DestroyWindow(hwnd);
    if (explicitly) DropIcon(state);
}

void HandOverToolkitWindow(Window& from, Window& to, int id, Window& dialog) {
    HWND hwnd = HwndOf(from);
    DetachToolkitWindow(from);
    WindowAccess::AttachRouted(to, hwnd, id, &dialog, false);
}

// --- Window -----------------------------------------------------------------

Window::Window() : m_state(std::make_unique<State>()) {}

Window::~Window() {
    AbandonWindow(*this);
    DropIcon(*m_state);
}

bool Window::CreateBlank(Window* parent) {
    if (IsWindow() || (parent != nullptr && !parent->IsWindow())) return false;
    win32::StartWindowThread();
    const DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS : WS_OVERLAPPEDWINDOW;
    HWND hwnd = CreateWindowExW(0, BlankClass(), L"", style, CW_USEDEFAULT, CW_USEDEFAULT, 320, 240,
                                parent != nullptr ? HwndOf(*parent) : nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return false;
    WindowAccess::AttachRouted(*this, hwnd, 0, parent, true);
    return true;
}

bool Window::IsWindow() const {
    std::lock_guard lock(m_state->hwndMutex);
    return m_state->hwnd != nullptr;
}

bool Window::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    // The system queue keeps the order and drops what a destroyed window
    // leaves; the lock keeps the window from going between check and post.
    std::lock_guard lock(m_state->hwndMutex);
    return m_state->hwnd != nullptr && PostMessageW(m_state->hwnd, message, wParam, lParam) != FALSE;
}

void Window::EnableWindow(bool enable) {
    if (HWND hwnd = HwndOf(*this)) ::EnableWindow(hwnd, enable ? TRUE : FALSE);
}

bool Window::IsWindowEnabled() const {
    HWND hwnd = HwndOf(*this);
    return hwnd != nullptr && ::IsWindowEnabled(hwnd) != FALSE;
}

void Window::ShowWindow(int cmdShow) {
    if (HWND hwnd = HwndOf(*this)) ::ShowWindow(hwnd, cmdShow == SW_HIDE ? SW_HIDE : SW_SHOW);
}

bool Window::IsWindowVisible() const {
    HWND hwnd = HwndOf(*this);
    return hwnd != nullptr && ::IsWindowVisible(hwnd) != FALSE;
}

void Window::SetWindowText(std::u16string_view text) {
    if (HWND hwnd = HwndOf(*this)) SetWindowTextW(hwnd, win32::Wide(std::u16string(text)));
}

std::u16string Window::GetWindowText() const {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return {};
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, u'\0');
    text.resize(static_cast<size_t>(
        GetWindowTextW(hwnd, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()))));
    return text;
}

void Window::SetFocus() {
    if (HWND hwnd = HwndOf(*this)) ::SetFocus(hwnd);
}

void Window::SetIcon(const Image& image) {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return;
    const win32::GdiplusImage* picture = win32::PictureOf(image);
    HICON icon = picture != nullptr ? picture->CreateIcon() : nullptr;
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    DropIcon(*m_state);
    m_state->icon = icon;
}

Window* Window::GetFocus() {
    return WindowAccess::FindWindowFor(::GetFocus());
}

void Window::GetWindowRect(RECT& rect) const {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return;
    ::RECT r{};
    if (IsTopLevelHwnd(hwnd)) {
        ::GetClientRect(hwnd, &r);
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        rect = RECT{origin.x, origin.y - MenuHeight(hwnd), origin.x + r.right, origin.y + r.bottom};
        return;
    }
    ::GetWindowRect(hwnd, &r);
    rect = RECT{r.left, r.top, r.right, r.bottom};
}

void Window::GetClientRect(RECT& rect) const {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return;
    ::RECT r{};
    ::GetClientRect(hwnd, &r);
    rect = RECT{0, 0, r.right, r.bottom};
}

void Window::ScreenToClient(RECT& rect) const {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return;
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    rect = RECT{rect.left - origin.x, rect.top - origin.y, rect.right - origin.x, rect.bottom - origin.y};
}

void Window::MoveWindow(int x, int y, int cx, int cy, bool repaint) {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return;
    if (!IsTopLevelHwnd(hwnd)) {
        ::MoveWindow(hwnd, x, y, cx, cy, repaint ? TRUE : FALSE);
        return;
    }
    const int menu = MenuHeight(hwnd);
    const ::RECT frame = FrameFor(hwnd, ::RECT{x, y + menu, x + cx, y + cy});
    ::MoveWindow(hwnd, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                 repaint ? TRUE : FALSE);
}

void Window::SetClientSize(int cx, int cy) {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return;
    ::RECT size{0, 0, cx, cy};
    if (IsTopLevelHwnd(hwnd)) size = FrameFor(hwnd, size);
    SetWindowPos(hwnd, nullptr, 0, 0, size.right - size.left, size.bottom - size.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::SetRedraw(bool redraw) {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return;
    SendMessageW(hwnd, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    // What changed while off is drawn once it is on again.
    if (redraw)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void Window::Invalidate(bool erase) {
    if (HWND hwnd = HwndOf(*this)) InvalidateRect(hwnd, nullptr, erase ? TRUE : FALSE);
}

void Window::UpdateWindow() {
    if (HWND hwnd = HwndOf(*this)) ::UpdateWindow(hwnd);
}

Font Window::GetFont() const {
    HWND hwnd = HwndOf(*this);
    HFONT font = hwnd != nullptr ? reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)) : nullptr;
    return font != nullptr ? win32::FromHFont(font) : Font();
}

void Window::SetFont(const Font& font, bool redraw) {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return;
    auto kept = std::make_unique<Font>(font);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(win32::ToHFont(*kept)), redraw ? TRUE : FALSE);
    m_state->font = std::move(kept);
}

int Window::IsDlgButtonChecked(int id) const {
    const Window* item = GetDlgItem(id);
    HWND hwnd = item != nullptr ? HwndOf(*item) : nullptr;
    return hwnd != nullptr && SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_CHECKED
                                                                                   : BST_UNCHECKED;
}

void Window::CheckDlgButton(int id, UINT check) {
    Window* item = GetDlgItem(id);
    if (HWND hwnd = item != nullptr ? HwndOf(*item) : nullptr) SendMessageW(hwnd, BM_SETCHECK, check, 0);
}

bool Window::SetTimer(UINT id, UINT elapseMs) {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr || ::SetTimer(hwnd, id, elapseMs, nullptr) == 0) return false;
    m_state->timers.insert(id);
    return true;
}

bool Window::KillTimer(UINT id) {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr || m_state->timers.erase(id) == 0) return false;
    return ::KillTimer(hwnd, id) != FALSE;
}

}  // namespace ui
