#include "controls/GdiplusImgCtrl.h"

#include "platform/Painter.h"
#include "platform/SysColor.h"
#include "res/ResourceTypes.h"

namespace {

// The paint surface's background colour, which the colour key leaves out.
constexpr ui::COLORREF kKeyColor = 0xFFFFFF;

}  // namespace

GdiplusImgCtrl::GdiplusImgCtrl() {
    MapPaint(&GdiplusImgCtrl::OnPaint);
}

int GdiplusImgCtrl::LoadPngResource() {
    return LoadPng(res::FindBinary("PNG", 131));
}

int GdiplusImgCtrl::LoadPng(std::span<const std::uint8_t> png) {
    if (!IsWindow() || png.empty()) return -1;
    m_image = ui::Image::FromPng(png);
    if (m_image->IsNull()) return -2;
    Invalidate(true);
    return 0;
}

void GdiplusImgCtrl::OnPaint(ui::Painter& painter) {
    if (!m_image) return;
    ui::RECT client;
    GetClientRect(client);
    const ui::RECT area{0, 0, client.Width(), client.Height()};
    painter.FillRect(area, ui::GetSysColor(ui::COLOR_BTNFACE));
    painter.DrawImage(area, *m_image, kKeyColor);
}

void GdiplusImgCtrl::PostNcDestroy() {
    m_image.reset();
}
