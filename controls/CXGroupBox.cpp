#include "controls/CXGroupBox.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <algorithm>

#include "controls/SysColor.h"
#include "platform/qt/QtText.h"

bool CXGroupBox::s_painting = false;

CXGroupBox::CXGroupBox()
    : m_titleColor(ui::GetSysColor(ui::COLOR_BTNTEXT)), m_backColor(ui::GetSysColor(ui::COLOR_BTNFACE)) {
    MapPaint(&CXGroupBox::OnPaint);
}

void CXGroupBox::PreSubclassWindow() {
    m_titleColor = ui::GetSysColor(ui::COLOR_BTNTEXT);
    m_titleFont = GetFont();
}

void CXGroupBox::OnPaint(QPainter& painter) {
    if (s_painting) return;
    s_painting = true;
    ui::RECT rect;
    GetWindowRect(rect);
    Paint(painter, {0, 0, rect.Width(), rect.Height()});
    s_painting = false;
}

void CXGroupBox::MeasureTitle() {
    if (m_titleSize.cx != 0) return;
    const QString title = ui::ToQString(GetWindowText());
    if (title.isEmpty()) return;
    const QFontMetrics metrics(m_titleFont);
    m_titleSize = {metrics.horizontalAdvance(title), metrics.height()};
}

void CXGroupBox::Paint(QPainter& target, const ui::RECT& rect) {
    MeasureTitle();
    const int rowHeight = std::max(m_titleSize.cy, m_iconSize);
    m_headerHalf = rowHeight / 2;
    const ui::RECT frame{rect.left, rect.top + m_headerHalf, rect.right, rect.bottom};

    QImage bitmap(rect.Width(), rect.Height(), QImage::Format_ARGB32_Premultiplied);
    bitmap.fill(ui::ToQColor(m_backColor));
    QPainter offscreen(&bitmap);
    if (m_frameStyle == 0 || m_frameStyle == 2) CopyParentPicture(offscreen, 2 * m_headerHalf);

    const bool enabled = IsWindowEnabled();
    const ui::COLORREF shadow = ui::GetSysColor(ui::COLOR_BTNSHADOW);
    const ui::COLORREF frameColor = !enabled || m_frameColor == kShadowColor ? shadow : m_frameColor;
    offscreen.setBrush(Qt::NoBrush);
    if (m_doubleLine) {
        DrawFrame(offscreen, {frame.left + 1, frame.top + 1, frame.right + 1, frame.bottom + 1},
                  ui::GetSysColor(ui::COLOR_BTNHIGHLIGHT));
    }
    DrawFrame(offscreen, frame, frameColor);

    const int titleWidth = m_titleSize.cx + 6;
    const QRect titleRect(TitleLeft(rect.Width(), titleWidth), m_titleShift, titleWidth, rowHeight);
    offscreen.fillRect(titleRect, ui::ToQColor(m_backColor));

    const QString title = ui::ToQString(GetWindowText());
    if (!title.isEmpty()) {
        const bool gray = !enabled && m_grayWhenDisabled;
        offscreen.setPen(ui::ToQColor(gray ? ui::GetSysColor(ui::COLOR_GRAYTEXT) : m_titleColor));
        offscreen.setFont(m_titleFont);
        const QRect textRect(titleRect.left() + 3, titleRect.top(), m_titleSize.cx, rowHeight);
        offscreen.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
    }
    offscreen.end();
    target.drawImage(0, 0, bitmap);
}

// The parent's own picture (its background, without its children) below the
// title row, so that the inside of the box looks like the page around it.
void CXGroupBox::CopyParentPicture(QPainter& offscreen, int top) const {
    ui::Window* parent = GetParent();
    QWidget* parentWidget = parent ? parent->GetQWidget() : nullptr;
    if (!parentWidget) return;
    ui::RECT box;
    GetWindowRect(box);
    parent->ScreenToClient(box);
    box.top += top;
    if (box.Height() <= 0 || box.Width() <= 0) return;
    parentWidget->render(&offscreen, QPoint(0, top), QRegion(box.left, box.top, box.Width(), box.Height()),
                         QWidget::DrawWindowBackground);
}

// Windows lines leave out their end point; the coordinates below keep the
// same pixels: right - 1 and bottom - 1 are the last ones drawn.
void CXGroupBox::DrawFrame(QPainter& offscreen, const ui::RECT& frame, ui::COLORREF color) const {
    offscreen.setPen(QPen(ui::ToQColor(color), m_lineWidth));
    const int left = frame.left;
    const int top = frame.top;
    const int right = frame.right - 1;
    const int bottom = frame.bottom - 1;
    switch (m_frameStyle) {
        case 0:
            offscreen.drawRect(left, top, right - left, bottom - top);
            break;
        case 1:
            offscreen.drawLine(left, top, right, top);
            break;
        case 2:
            offscreen.drawLine(left, top, right, top);
            offscreen.drawLine(left, top, left, bottom);
            offscreen.drawLine(right, top, right, bottom);
            break;
        default:
            break;
    }
}

int CXGroupBox::TitleLeft(int width, int titleWidth) const {
    switch (m_titleAlign) {
        case 1:
            return (width - titleWidth) / 2;
        case 2:
            return width - titleWidth - m_titleMargin;
        default:
            return m_titleMargin;
    }
}
