#include "platform/SysColor.h"

#include <QApplication>
#include <QPalette>

#include "platform/qt/QtColor.h"

namespace ui {

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
