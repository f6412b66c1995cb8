#include "platform/Painter.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

#include "platform/Font.h"
#include "platform/Image.h"
#include "platform/qt/QtColor.h"
#include "platform/qt/QtFont.h"
#include "platform/qt/QtImage.h"
#include "platform/qt/QtPainter.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"

namespace ui {
namespace {

QRect ToQRect(const RECT& rect) {
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

Qt::Alignment AlignmentOf(UINT format) {
    Qt::Alignment align = (format & DT_CENTER)  ? Qt::AlignHCenter
                          : (format & DT_RIGHT) ? Qt::AlignRight
                                                : Qt::AlignLeft;
    return align | ((format & DT_VCENTER) ? Qt::AlignVCenter : Qt::AlignTop);
}

QImage WithKeyedOut(const QImage& image, COLORREF keyColor) {
    const QRgb key = ToQColor(keyColor).rgb() & 0xFFFFFF;
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
        }
    }
    return keyed;
}

}  // namespace

void Painter::FillRect(const RECT& rect, COLORREF color) {
    m_impl.painter.fillRect(ToQRect(rect), ToQColor(color));
}

void Painter::FrameRect(const RECT& rect, COLORREF color, int width) {
    QPainter& p = m_impl.painter;
    p.setPen(QPen(ToQColor(color), width));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1);
}

void Painter::DrawLine(int x1, int y1, int x2, int y2, COLORREF color, int width) {
    m_impl.painter.setPen(QPen(ToQColor(color), width));
    m_impl.painter.drawLine(x1, y1, x2, y2);
}

void Painter::DrawText(const RECT& rect, std::u16string_view text, const Font& font, COLORREF color,
                       UINT format) {
    QPainter& p = m_impl.painter;
    p.setPen(ToQColor(color));
    p.setFont(ToQFont(font));
    const int flags =
        static_cast<int>(AlignmentOf(format)) | ((format & DT_SINGLELINE) ? Qt::TextSingleLine : 0);
    p.drawText(ToQRect(rect), flags, ToQString(text));
}

void Painter::DrawImage(const RECT& rect, const Image& image, COLORREF keyColor) {
    const Image::Impl* impl = image.GetImpl();
    if (impl == nullptr) return;
    m_impl.painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_impl.painter.drawImage(ToQRect(rect), WithKeyedOut(impl->image, keyColor), impl->image.rect());
}

void Painter::DrawWindowBackground(const Window& window, const RECT& source, int x, int y) {
    QWidget* widget = QWidgetOf(window);
    if (widget == nullptr || source.Width() <= 0 || source.Height() <= 0) return;
    widget->render(&m_impl.painter, QPoint(x, y), QRegion(ToQRect(source)), QWidget::DrawWindowBackground);
}

struct Canvas::Impl {
    Impl(int width, int height) : image(width, height, QImage::Format_ARGB32_Premultiplied) {}
    QImage image;
    QPainter painter;
    std::unique_ptr<QtPainter> facade;
};

Canvas::Canvas(int width, int height, COLORREF fill) : m_impl(std::make_unique<Impl>(width, height)) {
    m_impl->image.fill(ToQColor(fill));
    m_impl->painter.begin(&m_impl->image);
    m_impl->facade = std::make_unique<QtPainter>(m_impl->painter);
}

Canvas::~Canvas() = default;

Painter& Canvas::GetPainter() {
    return m_impl->facade->Get();
}

void Canvas::CopyTo(Painter& target, int x, int y) {
    if (m_impl->painter.isActive()) m_impl->painter.end();
    target.GetImpl().painter.drawImage(x, y, m_impl->image);
}

}  // namespace ui
