#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/BoxRequests.h"
#include "platform/HookState.h"
#include "platform/Language.h"
#include "platform/LoadString.h"
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

int Request(const test::MessageBoxCall& call) {
    if (call.fromWindowThread) return ShowMessageBox(call);
    return BoxRequests::Instance().Submit(call);
}

}  // namespace

int DismissedAnswer(UINT style) {
    return (style & 0xF) == MB_OKCANCEL ? IDCANCEL : IDOK;
}

int ShowMessageBox(const test::MessageBoxCall& call) {
    OpenBox open;
    if (auto hook = detail::MessageBoxHook()) {
        const int answer = hook(call);
        return open.Closed() ? DismissedAnswer(call.style) : answer;
    }
    const bool korean = GetUiLanguage() == Language::Korean;
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr && AfxGetMainWnd() != nullptr) owner = QWidgetOf(*AfxGetMainWnd());
    QMessageBox box(IconOf(call.style), QStringLiteral("Tarnel Manager"), ToQString(call.text),
                    QMessageBox::NoButton, owner);
    QPushButton* ok =
        box.addButton(korean ? QStringLiteral("확인") : QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    if ((call.style & 0xF) == MB_OKCANCEL) {
        box.setEscapeButton(box.addButton(korean ? QStringLiteral("취소") : QStringLiteral("Cancel"),
                                          QMessageBox::RejectRole));
    } else {
        box.setEscapeButton(ok);
    }
    open.SetCloser([&box] { box.reject(); });
    box.exec();
    if (open.Closed()) return DismissedAnswer(call.style);
    return box.clickedButton() == ok ? IDOK : DismissedAnswer(call.style);
}

int AfxMessageBox(UINT stringId, UINT style) {
    return Request(
        {static_cast<int>(stringId), LoadString(static_cast<int>(stringId)), style, IsWindowThread()});
}

int AfxMessageBox(std::u16string_view text, UINT style) {
    return Request({0, std::u16string(text), style, IsWindowThread()});
}

void CloseMessageBoxes() {
    BoxRequests::Instance().CloseAll();
    OpenBox::CloseAll();
}

}  // namespace ui
