#include "controls/CXGroupBox.h"

#include <algorithm>

#include "platform/Painter.h"
#include "platform/SysColor.h"

bool CXGroupBox::s_painting = false;

CXGroupBox::CXGroupBox()
    : m_titleColor(ui::GetSysColor(ui::COLOR_BTNTEXT)), m_backColor(ui::GetSysColor(ui::COLOR_BTNFACE)) {
    MapPaint(&CXGroupBox::OnPaint);
}

void CXGroupBox::PreSubclassWindow() {
    m_titleColor = ui::GetSysColor(ui::COLOR_BTNTEXT);
    m_titleFont = GetFont();
}

void CXGroupBox::OnPaint(ui::Painter& painter) {
    if (s_painting) return;
    s_painting = true;
    ui::RECT rect;
    GetWindowRect(rect);
    Paint(painter, {0, 0, rect.Width(), rect.Height()});
    s_painting = false;
}

void CXGroupBox::MeasureTitle() {
    if (m_titleSize.cx != 0) return;
    const std::u16string title = GetWindowText();
    if (title.empty()) return;
    const ui::SIZE extent = m_titleFont.GetTextExtent(title);
    m_titleSize = {extent.cx, extent.cy};
}

void CXGroupBox::Paint(ui::Painter& target, const ui::RECT& rect) {
    MeasureTitle();
    const int rowHeight = std::max(m_titleSize.cy, m_iconSize);
    m_headerHalf = rowHeight / 2;
    const ui::RECT frame{rect.left, rect.top + m_headerHalf, rect.right, rect.bottom};

    ui::Canvas canvas(rect.Width(), rect.Height(), m_backColor);
    ui::Painter& offscreen = canvas.GetPainter();
    if (m_frameStyle == 0 || m_frameStyle == 2) CopyParentPicture(offscreen, 2 * m_headerHalf);

    const bool enabled = IsWindowEnabled();
    const ui::COLORREF shadow = ui::GetSysColor(ui::COLOR_BTNSHADOW);
    const ui::COLORREF frameColor = !enabled || m_frameColor == kShadowColor ? shadow : m_frameColor;
    if (m_doubleLine) {
        DrawFrame(offscreen, {frame.left + 1, frame.top + 1, frame.right + 1, frame.bottom + 1},
                  ui::GetSysColor(ui::COLOR_BTNHIGHLIGHT));
    }
    DrawFrame(offscreen, frame, frameColor);

    const int titleWidth = m_titleSize.cx + 6;
    const int titleLeft = TitleLeft(rect.Width(), titleWidth);
    offscreen.FillRect({titleLeft, m_titleShift, titleLeft + titleWidth, m_titleShift + rowHeight},
                       m_backColor);

    const std::u16string title = GetWindowText();
    if (!title.empty()) {
        const bool gray = !enabled && m_grayWhenDisabled;
        const ui::RECT textRect{titleLeft + 3, m_titleShift, titleLeft + 3 + m_titleSize.cx,
                                m_titleShift + rowHeight};
        offscreen.DrawText(textRect, title, m_titleFont,
                           gray ? ui::GetSysColor(ui::COLOR_GRAYTEXT) : m_titleColor,
                           ui::DT_LEFT | ui::DT_VCENTER | ui::DT_SINGLELINE);
    }
    canvas.CopyTo(target, 0, 0);
}

// The parent's own picture (its background, without its children) below the
// title row, so that the inside of the box looks like the page around it.
void CXGroupBox::CopyParentPicture(ui::Painter& offscreen, int top) const {
    ui::Window* parent = GetParent();
    if (parent == nullptr) return;
    ui::RECT box;
    GetWindowRect(box);
    parent->ScreenToClient(box);
    box.top += top;
    offscreen.DrawWindowBackground(*parent, box, 0, top);
}

// Windows lines leave out their end point; the coordinates below keep the
// same pixels: right - 1 and bottom - 1 are the last ones drawn.
void CXGroupBox::DrawFrame(ui::Painter& offscreen, const ui::RECT& frame, ui::COLORREF color) const {
    const int left = frame.left;
    const int top = frame.top;
    const int right = frame.right - 1;
    const int bottom = frame.bottom - 1;
    switch (m_frameStyle) {
        case 0:
            offscreen.FrameRect(frame, color, m_lineWidth);
            break;
        case 1:
            offscreen.DrawLine(left, top, right, top, color, m_lineWidth);
            break;
        case 2:
            offscreen.DrawLine(left, top, right, top, color, m_lineWidth);
            offscreen.DrawLine(left, top, left, bottom, color, m_lineWidth);
            offscreen.DrawLine(right, top, right, bottom, color, m_lineWidth);
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
