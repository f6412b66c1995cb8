#include "platform/ToolkitBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/OpenBox.h"
#include "platform/Window.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"

namespace ui {
namespace {

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
    open.SetCloser([&box] { box.reject(); });
    box.exec();
    return box.clickedButton() == ok;
}

}  // namespace ui
