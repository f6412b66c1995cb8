#include "controls/SysColor.h"

#include <QApplication>
#include <QPalette>

namespace ui {

QColor ToQColor(COLORREF color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

COLORREF FromQColor(const QColor& color) {
    return RGB(color.red(), color.green(), color.blue());
}

COLORREF GetSysColor(int index) {
    const QPalette palette = QApplication::palette();
    switch (index) {
        case COLOR_BTNFACE:
            return FromQColor(palette.color(QPalette::Active, QPalette::Window));
        case COLOR_BTNSHADOW:
            return FromQColor(palette.color(QPalette::Active, QPalette::Dark));
        case COLOR_GRAYTEXT:
            return FromQColor(palette.color(QPalette::Disabled, QPalette::WindowText));
        case COLOR_BTNTEXT:
            return FromQColor(palette.color(QPalette::Active, QPalette::WindowText));
        case COLOR_BTNHIGHLIGHT:
            return FromQColor(palette.color(QPalette::Active, QPalette::Light));
        default:
            return 0;
    }
}

}  // namespace ui
