#pragma once

// The base of every window of the program: a toolkit window seen through the
// Windows model of control ids, messages, timers and parent chains. The
// shared part keeps the message map and the tree of windows (WindowCore.h);
// the backend (platform/<toolkit>/) implements the rest.
// See platform/Ui.h for how a window class is written on this layer.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Font.h"
#include "res/ResourceTypes.h"
#include "res/WinDefs.h"

namespace ui {

class DataExchange;
class Image;
class Painter;
class Window;

// A rectangle in pixels; right and bottom are exclusive, as on Windows.
struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A message as the PreTranslateMessage chain sees it: `hwnd` is the window the
// message is for (the window with the focus for a key).
struct MSG {
    Window* hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

constexpr WPARAM MAKEWPARAM(unsigned low, unsigned high) {
    return static_cast<WPARAM>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
constexpr unsigned LOWORD(WPARAM w) {
    return static_cast<unsigned>(w & 0xFFFFu);
}
constexpr unsigned HIWORD(WPARAM w) {
    return static_cast<unsigned>((w >> 16) & 0xFFFFu);
}

// The thread that runs the windows: the one that started the toolkit.
bool IsWindowThread();

class Window {
public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // --- Existence -------------------------------------------------------
    // A window without a template: a top-level one when `parent` is nullptr
    // (a stand-in main window in tests), else a child in the parent's client
    // area. False when the window exists already or the parent has none.
    bool CreateBlank(Window* parent = nullptr);
    // Whether the window exists (created and not yet destroyed). Safe from
    // any thread.
    bool IsWindow() const;
    // Destroys the window and every child window (children first), then
    // calls PostNcDestroy. The C++ object stays. Nothing when there is none.
    void DestroyWindow();
    int GetDlgCtrlID() const;
    // The parent window (a control's dialog, a page's main dialog); nullptr
    // for a top-level window.
    Window* GetParent() const;
    // A child control by id: the member bound by DDX_Control, else the
    // layer's own wrapper of the class the template gives (ui::Button,
    // ui::ComboBox, ...: dynamic_cast works); nullptr when there is none.
    Window* GetDlgItem(int id) const;

    // --- Messages ----------------------------------------------------------
    // Window thread: runs WindowProc at once and returns its result; 0 when
    // the window does not exist.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Any thread: queues the message for the window thread. Messages are
    // handled in posting order; a message whose window is destroyed before
    // it is handled is dropped. Returns false when the window does not exist.
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Dispatches through the message map; unmapped messages get the default
    // handling (0). For WM_KEYDOWN, WM_CHAR and WM_PASTE a non-zero result
    // means "handled": the control's default processing is skipped.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // A key-down walks this chain from the window with the focus up to its
    // top-level window before it is dispatched; true stops it there (the key
    // is swallowed). The base returns false.
    virtual bool PreTranslateMessage(const MSG& msg);

    // --- Appearance and state (window thread) -------------------------------
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    void ShowWindow(int cmdShow);  // SW_SHOW or SW_HIDE
    bool IsWindowVisible() const;
    void SetWindowText(std::u16string_view text);
    std::u16string GetWindowText() const;
    void SetFocus();
    // The icon of the window's frame and task bar entry; a null image
    // removes it.
    void SetIcon(const Image& image);
    // The window with the keyboard focus (the nearest window of the layer
    // that holds the focused widget); nullptr when none.
    static Window* GetFocus();

    // Geometry in pixels. A top-level window's frame counts as zero, and its
    // menu bar lies above its client area: the window rectangle is the client
    // rectangle in screen coordinates, taller by the menu bar.
    void GetWindowRect(RECT& rect) const;  // screen coordinates
    void GetClientRect(RECT& rect) const;  // (0, 0, width, height)
    void ScreenToClient(RECT& rect) const;
    void MoveWindow(int x, int y, int cx, int cy, bool repaint = true);
    void MoveWindow(const RECT& rect, bool repaint = true);
    // Sizes a top-level window so that its client area is cx by cy.
    void SetClientSize(int cx, int cy);

    // Redraw off stops painting until it is switched on again.
    void SetRedraw(bool redraw);
    void Invalidate(bool erase = true);
    void UpdateWindow();  // paints now what is invalid
    Font GetFont() const;
    void SetFont(const Font& font, bool redraw = true);

    // Check boxes, radio buttons and texts of child controls by id.
    int IsDlgButtonChecked(int id) const;  // BST_CHECKED or BST_UNCHECKED
    void CheckDlgButton(int id, UINT check);
    std::u16string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, std::u16string_view text);

    // --- Timers (window thread) ---------------------------------------------
    // Starts or restarts timer `id`; it expires every `elapseMs` as WM_TIMER
    // (wParam the id) until killed or the window is destroyed.
    bool SetTimer(UINT id, UINT elapseMs);
    // Returns false when no such timer runs.
    bool KillTimer(UINT id);

    // --- Wait cursor (any thread; one counter for the program) -----------
    static void BeginWaitCursor();
    static void EndWaitCursor();
    static void RestoreWaitCursor();

protected:
    // Called after the window is destroyed (DestroyWindow, the parent's
    // destruction or the end of a modal run). The base does nothing.
    virtual void PostNcDestroy();
    // Called when a template control is bound to this object by DDX_Control,
    // before any message reaches it. The base does nothing.
    virtual void PreSubclassWindow();
    // Whether this class can stand for the template control DDX_Control
    // binds it to. The base takes any control.
    virtual bool CanAttachTo(const res::ControlTemplate& control) const;

    // --- The message map: call these in the constructor ------------------
    // WM_COMMAND with this id and notification code (BN_CLICKED for buttons
    // and menu items).
    template <class T>
    void MapCommand(int id, void (T::*handler)(), UINT code = BN_CLICKED) {
        AddCommand(id, id, code, [this, handler](UINT) { (static_cast<T*>(this)->*handler)(); });
    }
    // WM_COMMAND for ids first..last with this code; the handler gets the id.
    template <class T>
    void MapCommandRange(int first, int last, void (T::*handler)(UINT), UINT code = BN_CLICKED) {
        AddCommand(first, last, code, [this, handler](UINT id) { (static_cast<T*>(this)->*handler)(id); });
    }
    // Any other message, WM_APP + n included; the result is the message's.
    template <class T>
    void MapMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
        AddMessage(message,
                   [this, handler](WPARAM w, LPARAM l) { return (static_cast<T*>(this)->*handler)(w, l); });
    }
    // WM_TIMER; the handler gets the timer id.
    template <class T>
    void MapTimer(void (T::*handler)(UINT)) {
        AddMessage(WM_TIMER, [this, handler](WPARAM w, LPARAM) {
            (static_cast<T*>(this)->*handler)(static_cast<UINT>(w));
            return LRESULT{0};
        });
    }
    // WM_KEYDOWN (the virtual key) and WM_CHAR (one UTF-16 unit); the handler
    // returns true to skip the control's default processing.
    template <class T>
    void MapKeyDown(bool (T::*handler)(UINT)) {
        AddMessage(WM_KEYDOWN, [this, handler](WPARAM w, LPARAM) {
            return LRESULT{(static_cast<T*>(this)->*handler)(static_cast<UINT>(w))};
        });
    }
    template <class T>
    void MapChar(bool (T::*handler)(char16_t)) {
        AddMessage(WM_CHAR, [this, handler](WPARAM w, LPARAM) {
            return LRESULT{(static_cast<T*>(this)->*handler)(static_cast<char16_t>(w))};
        });
    }
    // A notification of this control reflected to the control itself (for
    // example EN_MAXTEXT, CBN_EDITUPDATE). A reflected notification does not
    // reach the parent.
    template <class T>
    void MapReflect(UINT code, void (T::*handler)()) {
        AddReflect(code, [this, handler] { (static_cast<T*>(this)->*handler)(); });
    }
    // Painting: the handler paints the whole widget instead of the default.
    // For statics and group boxes.
    template <class T>
    void MapPaint(void (T::*handler)(Painter&)) {
        SetPaintHandler([this, handler](Painter& p) { (static_cast<T*>(this)->*handler)(p); });
    }

private:
    friend class WindowAccess;  // the layer's own access to the state
    // Binding a member asks CanAttachTo and runs PreSubclassWindow.
    friend void DDX_Control(DataExchange& dx, int id, Window& control);

    void AddCommand(int first, int last, UINT code, std::function<void(UINT)> fn);
    void AddMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> fn);
    void AddReflect(UINT code, std::function<void()> fn);
    void SetPaintHandler(std::function<void(Painter&)> fn);

    struct State;
    const std::unique_ptr<State> m_state;
};

// The program's main window (set by the application at start-up); nullptr
// when there is none or it does not exist.
Window* AfxGetMainWnd();
void SetMainWnd(Window* window);

}  // namespace ui
