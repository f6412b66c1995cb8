#pragma once

// A titled group box that paints itself: a bold title on the top edge, a
// coloured frame, and inside the frame whatever the parent shows behind the
// box. It attaches to a group box of a dialog template (DDX_Control). The
// page configures it by writing the members below and repainting.
//
// Painted: title alignments 0 (left), 1 (centre), 2 (right); frame styles 0
// (closed rectangle), 1 (top line only), 2 (open at the bottom); the double
// line; the disabled look. Not painted: an icon (this program sets none).

#include "platform/Font.h"
#include "platform/Painter.h"
#include "platform/Static.h"
#include "res/WinDefs.h"

class CXGroupBox : public ui::Static {
public:
    // m_frameColor's value for "the system button-shadow colour".
    static constexpr ui::COLORREF kShadowColor = static_cast<ui::COLORREF>(-1);

    struct TitleSize {
        int cx = 0;  // 0: measure the title again at the next paint
        int cy = 0;
    };

    CXGroupBox();

    // Paints the whole box into `target`; `rect` is (0, 0, width, height) of
    // the window. Updates the cached title size and m_headerHalf.
    void Paint(ui::Painter& target, const ui::RECT& rect);

    ui::Font m_titleFont;
    ui::COLORREF m_titleColor;
    ui::COLORREF m_backColor;
    ui::COLORREF m_frameColor = kShadowColor;
    int m_titleMargin = 8;
    int m_titleShift = 0;
    int m_headerHalf = -1;
    int m_iconSize = 0;
    TitleSize m_titleSize;
    bool m_grayWhenDisabled = true;
    int m_frameStyle = 0;
    bool m_doubleLine = true;
    int m_titleAlign = 0;
    int m_lineWidth = 1;

protected:
    // Takes the title colour and the control's font.
    void PreSubclassWindow() override;

private:
    void OnPaint(ui::Painter& painter);
    void MeasureTitle();
    void CopyParentPicture(ui::Painter& offscreen, int top) const;
    void DrawFrame(ui::Painter& offscreen, const ui::RECT& frame, ui::COLORREF color) const;
    int TitleLeft(int width, int titleWidth) const;

    // Set while any group box paints, so that a paint reached from inside
    // another (through the parent's picture) does nothing.
    static bool s_painting;
};
