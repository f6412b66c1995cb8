#include "platform/MessageBox.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include "platform/BoxRequests.h"
#include "platform/HookState.h"
#include "platform/Language.h"
#include "platform/LoadString.h"
#include "platform/OpenBox.h"
#include "platform/QtText.h"
#include "platform/Window.h"

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
    if (owner == nullptr && AfxGetMainWnd() != nullptr) owner = AfxGetMainWnd()->GetQWidget();
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
    FitCaption(box);
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
