#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/win32/GdiplusImage.h"

// GDI+'s headers want min and max, which NOMINMAX keeps from windows.h.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
#include <shlwapi.h>

namespace ui::win32 {
namespace {

Gdiplus::Color FromColorRef(COLORREF color) {
    return Gdiplus::Color(GetRValue(color), GetGValue(color), GetBValue(color));
}

}  // namespace

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) m_token = token;
}

GdiplusSession::~GdiplusSession() {
    if (m_token != 0) Gdiplus::GdiplusShutdown(m_token);
}

std::shared_ptr<const GdiplusImage> GdiplusImage::FromPng(std::span<const std::uint8_t> png) {
    IStream* stream = SHCreateMemStream(png.data(), static_cast<UINT>(png.size()));
    if (stream == nullptr) return nullptr;
    // The bitmap reads the stream as long as it lives; a copy holds its own pixels.
    auto decoded = std::make_unique<Gdiplus::Bitmap>(stream);
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    if (decoded->GetLastStatus() == Gdiplus::Ok && decoded->GetWidth() > 0) {
        bitmap.reset(decoded->Clone(0, 0, static_cast<INT>(decoded->GetWidth()),
                                    static_cast<INT>(decoded->GetHeight()), PixelFormat32bppARGB));
    }
    decoded.reset();
    stream->Release();
    if (bitmap == nullptr || bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return std::shared_ptr<const GdiplusImage>(new GdiplusImage(std::move(bitmap)));
}

GdiplusImage::GdiplusImage(std::unique_ptr<Gdiplus::Bitmap> bitmap) : m_bitmap(std::move(bitmap)) {}

GdiplusImage::~GdiplusImage() = default;

int GdiplusImage::Width() const {
    return static_cast<int>(m_bitmap->GetWidth());
}

int GdiplusImage::Height() const {
    return static_cast<int>(m_bitmap->GetHeight());
}

void GdiplusImage::Draw(HDC dc, const ::RECT& rect, COLORREF keyColor) const {
    Gdiplus::Graphics graphics(dc);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorKey(FromColorRef(keyColor), FromColorRef(keyColor));
    // Stretching samples beyond the edges; mirrored edge pixels keep the
    // border from fading into nothing.
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    graphics.DrawImage(m_bitmap.get(),
                       Gdiplus::Rect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top), 0,
                       0, Width(), Height(), Gdiplus::UnitPixel, &attributes);
}

HICON GdiplusImage::CreateIcon() const {
    HICON icon = nullptr;
    return m_bitmap->GetHICON(&icon) == Gdiplus::Ok ? icon : nullptr;
}

}  // namespace ui::win32
