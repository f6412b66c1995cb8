#pragma once

// The few drawing operations the self-painting controls use, in pixels of
// the window being painted, with the toolkit's drawing behind them. A
// painter is handed to a paint handler (Window::MapPaint) or taken from a
// Canvas; it is valid only while that lasts.

#include <memory>
#include <string_view>

#include "platform/Window.h"
#include "res/WinDefs.h"

namespace ui {

class Font;
class Image;

// Text formats of DrawText, as DrawTextW has them.
inline constexpr UINT DT_LEFT = 0x0;
inline constexpr UINT DT_CENTER = 0x1;
inline constexpr UINT DT_RIGHT = 0x2;
inline constexpr UINT DT_VCENTER = 0x4;
inline constexpr UINT DT_SINGLELINE = 0x20;

class Painter {
public:
    struct Impl;  // the backend's drawing state

    explicit Painter(Impl& impl) : m_impl(impl) {}
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    void FillRect(const RECT& rect, COLORREF color);
    // An outline along the inside of `rect` (right and bottom exclusive),
    // `width` pixels wide; the inside is left as it is.
    void FrameRect(const RECT& rect, COLORREF color, int width);
    // A line from (x1, y1) to (x2, y2), both end points drawn.
    void DrawLine(int x1, int y1, int x2, int y2, COLORREF color, int width);
    // `text` in `rect` with the DT_ alignment in `format`, on a transparent
    // background.
    void DrawText(const RECT& rect, std::u16string_view text, const Font& font, COLORREF color, UINT format);
    // The whole image stretched (smoothly) to `rect`; its pixels of exactly
    // `keyColor` are left out. Nothing for a null image.
    void DrawImage(const RECT& rect, const Image& image, COLORREF keyColor);
    // What `window` itself shows (its background, without its children) in
    // the part `source` of its client area, drawn at (x, y).
    void DrawWindowBackground(const Window& window, const RECT& source, int x, int y);

    Impl& GetImpl() { return m_impl; }

private:
    Impl& m_impl;
};

// An off-screen picture: painted on, then copied to the screen in one step.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Painter& GetPainter();
    // Ends painting on the canvas and copies it to `target` at (x, y).
    void CopyTo(Painter& target, int x, int y);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace ui
