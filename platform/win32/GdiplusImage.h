#pragma once

// A PNG picture decoded by GDI+ and drawn stretched into a device context
// with one colour keyed out (the About box's logo on its white ground).
// GDI+ must be running (GdiplusSession) while images exist.

#include <cstdint>
#include <memory>
#include <span>

#include "res/WinDefs.h"

struct HDC__;
struct HICON__;
struct tagRECT;

namespace Gdiplus {
class Bitmap;
}

namespace ui::win32 {

class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    // False when GDI+ could not start; nothing draws then.
    bool Started() const { return m_token != 0; }

private:
    std::uintptr_t m_token = 0;
};

class GdiplusImage {
public:
    // nullptr when the bytes are not a picture GDI+ decodes.
    static std::shared_ptr<const GdiplusImage> FromPng(std::span<const std::uint8_t> png);
    ~GdiplusImage();

    int Width() const;
    int Height() const;
    // The whole picture stretched smoothly to `rect`; its pixels of exactly
    // `keyColor` leave what is under them.
    void Draw(HDC__* dc, const tagRECT& rect, COLORREF keyColor) const;

    // The picture as an icon the caller destroys; nullptr on failure.
    HICON__* CreateIcon() const;

private:
    explicit GdiplusImage(std::unique_ptr<Gdiplus::Bitmap> bitmap);

    std::unique_ptr<Gdiplus::Bitmap> m_bitmap;
};

}  // namespace ui::win32
