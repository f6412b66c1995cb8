// Looks at another program's windows for a script that drives it with
// xdotool, as a person would look at the screen: where a control is and what
// it shows. It only reads; clicks and keys come from the script.
//
//   winprobe rect TITLE [ID]   screen rectangle "x y width height" of the
//                              visible top-level window whose caption holds
//                              TITLE, or of its visible control ID (at any
//                              depth: a page's controls too)
//   winprobe text TITLE ID     the control's text, in UTF-8
//   winprobe rows TITLE ID     the number of rows of a list control
//   winprobe checked TITLE ID  1 when the button is checked, else 0
//
// Each waits up to 20 s for the window and control to be there; exit 1 when
// they never are, 2 for a usage mistake. Arguments are taken as wide
// strings: the narrow ones would pass through the ANSI code page, which has
// no Hangul.

#include <windows.h>
// After windows.h, which it extends.
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Narrow(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow.data(), n, nullptr, nullptr);
    return narrow;
}

std::wstring TextOf(HWND window) {
    // WM_GETTEXT crosses processes: the system copies the text back.
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

struct Search {
    std::wstring title;
    int id = -1;  // -1: the top-level window itself
    HWND found = nullptr;
};

BOOL CALLBACK OnChild(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (GetDlgCtrlID(child) != search->id || !IsWindowVisible(child)) return TRUE;
    search->found = child;
    return FALSE;
}

BOOL CALLBACK OnTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window) || TextOf(window).find(search->title) == std::wstring::npos) return TRUE;
    if (search->id == -1) {
        search->found = window;
    } else {
        EnumChildWindows(window, OnChild, param);
    }
    return search->found == nullptr;
}

HWND Find(const std::wstring& title, int id) {
    for (int i = 0; i < 200; ++i) {
        Search search{title, id, nullptr};
        EnumWindows(OnTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        Sleep(100);
    }
    return nullptr;
}

int Usage() {
    std::fputs("usage: winprobe rect|text|rows|checked TITLE [ID]\n", stderr);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3 || (std::wcscmp(argv[1], L"rect") != 0 && argc < 4)) return Usage();
    const std::wstring what = argv[1];
    const HWND window = Find(argv[2], argc > 3 ? std::wcstol(argv[3], nullptr, 10) : -1);
    if (window == nullptr) {
        std::fprintf(stderr, "winprobe: no visible window '%s'%s%s\n", Narrow(argv[2]).c_str(),
                     argc > 3 ? " with control " : "", argc > 3 ? Narrow(argv[3]).c_str() : "");
        return 1;
    }
    if (what == L"rect") {
        RECT r{};
        GetWindowRect(window, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else if (what == L"text") {
        std::printf("%s\n", Narrow(TextOf(window)).c_str());
    } else if (what == L"rows") {
        std::printf("%ld\n", static_cast<long>(SendMessageW(window, LVM_GETITEMCOUNT, 0, 0)));
    } else if (what == L"checked") {
        std::printf("%d\n", SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    } else {
        return Usage();
    }
    return 0;
}
