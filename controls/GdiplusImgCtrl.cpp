#include "controls/GdiplusImgCtrl.h"

#include <QPainter>
#include <QWidget>

#include "controls/SysColor.h"
#include "res/ResourceTypes.h"

namespace {

// The paint surface's background colour, which the colour key leaves out.
constexpr QRgb kKeyColor = 0xFFFFFF;

QImage WithKeyedOut(const QImage& image) {
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == kKeyColor) line[x] = 0;
        }
    }
    return keyed;
}

}  // namespace

GdiplusImgCtrl::GdiplusImgCtrl() {
    MapPaint(&GdiplusImgCtrl::OnPaint);
}

int GdiplusImgCtrl::LoadPngResource() {
    return LoadPng(res::FindBinary("PNG", 131));
}

int GdiplusImgCtrl::LoadPng(std::span<const std::uint8_t> png) {
    if (!IsWindow() || png.empty()) return -1;
    m_image = QImage::fromData(png.data(), static_cast<int>(png.size()), "PNG");
    if (m_image->isNull()) return -2;
    Invalidate(true);
    return 0;
}

void GdiplusImgCtrl::OnPaint(QPainter& painter) {
    if (!m_image) return;
    ui::RECT client;
    GetClientRect(client);
    const QRect area(0, 0, client.Width(), client.Height());
    painter.fillRect(area, ui::ToQColor(ui::GetSysColor(ui::COLOR_BTNFACE)));
    if (m_image->isNull()) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(area, WithKeyedOut(*m_image), m_image->rect());
}

void GdiplusImgCtrl::PostNcDestroy() {
    m_image.reset();
}
