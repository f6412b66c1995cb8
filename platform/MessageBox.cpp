#include "platform/MessageBox.h"

#include "platform/BoxRequests.h"
#include "platform/HookState.h"
#include "platform/Language.h"
#include "platform/LoadString.h"
#include "platform/OpenBox.h"
#include "platform/ToolkitBox.h"
#include "platform/Window.h"

namespace ui {
namespace {

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
    const bool ok = ShowToolkitBox(
        {u"Tarnel Manager", call.text, call.style, korean ? u"확인" : u"OK", korean ? u"취소" : u"Cancel"},
        open);
    return ok && !open.Closed() ? IDOK : DismissedAnswer(call.style);
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
