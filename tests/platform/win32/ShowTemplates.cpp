// Shows dialog templates of res/ as the Win32 backend builds them, for
// looking at them under Wine: show_templates <dialog id> [<page id>] [ko].
// A page goes where the main dialog's placeholder lies. The window stays up
// until it is closed (Escape, the close button).

#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include <cstdlib>
#include <string_view>

#include "platform/win32/ModalLoop.h"
#include "platform/win32/TemplateDialog.h"
#include "res/ResourceTypes.h"

namespace {

class Closer : public ui::win32::MessageTarget {
public:
    explicit Closer(ui::win32::ModalLoop* loop) : m_loop(loop) {}
    bool OnMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT&) override {
        if (m_loop == nullptr || message != WM_COMMAND ||
            (LOWORD(wParam) != IDCANCEL && LOWORD(wParam) != IDOK))
            return false;
        m_loop->End(LOWORD(wParam));
        return true;
    }

private:
    ui::win32::ModalLoop* m_loop;
};

void PlacePage(HWND dialog, HWND page) {
    RECT place{};
    GetWindowRect(GetDlgItem(dialog, 1004), &place);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&place), 2);
    SetWindowPos(page, HWND_TOP, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_SHOWWINDOW);
}

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    LoadLibraryW(L"riched20.dll");
    const bool korean = std::string_view(argv[argc - 1]) == "ko";
    const int dialogId = argc > 1 ? std::atoi(argv[1]) : 102;
    const int pageId = argc > 2 ? std::atoi(argv[2]) : 0;
    const res::DialogTemplate* dialog = res::FindDialog(dialogId);
    if (dialog == nullptr) return 2;
    const ui::Language language = korean ? ui::Language::Korean : ui::Language::English;

    ui::win32::ModalLoop loop;
    Closer closer(&loop);
    Closer pageTarget(nullptr);
    HWND window = ui::win32::CreateTemplateDialog(*dialog, language, nullptr, closer);
    if (window == nullptr) return 1;
    const res::DialogTemplate* page = pageId != 0 ? res::FindDialog(pageId) : nullptr;
    if (page != nullptr)
        PlacePage(window, ui::win32::CreateTemplateDialog(*page, language, window, pageTarget));
    SetWindowPos(window, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    loop.Run(window, nullptr);
    DestroyWindow(window);
    return 0;
}
