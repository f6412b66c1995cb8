#include "platform/ToolkitBox.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include "platform/OpenBox.h"
#include "platform/Window.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"

namespace ui {
namespace {

// Room in a title bar beside the caption, in lines of its font: the icon and
// up to three buttons with their margins.
constexpr int kTitleBarExtra = 8;

QMessageBox::Icon IconOf(UINT style) {
    switch (style & 0xF0) {
        case MB_ICONERROR:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// A window manager cuts a caption that is wider than its window, and the
// title bar also holds the window's icon and buttons; a short text alone
// would make the box that narrow.
void FitCaption(QMessageBox& box) {
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    const int width = metrics.horizontalAdvance(box.windowTitle()) + kTitleBarExtra * metrics.height();
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(),
                      0, 1, grid->columnCount());
    }
}

}  // namespace

bool ShowToolkitBox(const BoxLook& look, OpenBox& open) {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr && AfxGetMainWnd() != nullptr) owner = QWidgetOf(*AfxGetMainWnd());
    QMessageBox box(IconOf(look.style), ToQString(look.caption), ToQString(look.text), QMessageBox::NoButton,
                    owner);
    QPushButton* ok = box.addButton(ToQString(look.okText), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    if ((look.style & 0xF) == MB_OKCANCEL)
        box.setEscapeButton(box.addButton(ToQString(look.cancelText), QMessageBox::RejectRole));
    else
        box.setEscapeButton(ok);
    FitCaption(box);
    open.SetCloser([&box] { box.reject(); });
    box.exec();
    return box.clickedButton() == ok;
}

}  // namespace ui
