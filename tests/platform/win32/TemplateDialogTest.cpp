#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/win32/TemplateDialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/ModalLoop.h"
#include "platform/win32/Wide.h"
#include "platform/win32/WindowRouting.h"
#include "res/ResourceTypes.h"
#include "tests/platform/win32/PersonInput.h"
#include "tests/support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using tarnel::test::ClickAt;
using tarnel::test::PressKey;
using ui::Language;

constexpr UINT kStepTimer = 1;
constexpr UINT kPosted = WM_APP + 1;

struct Seen {
    UINT message;
    WPARAM wParam;
};

// Records what reaches its window; `onTick` runs on the step timer, as the
// person in front of the window acting on what is shown.
class Recorder : public ui::win32::MessageTarget {
public:
    bool OnMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        // Clicks and menu choices; not the focus notifications of combo boxes.
        const bool click = message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED;
        if (click || message == kPosted || (message == WM_TIMER && wParam != kStepTimer))
            seen.push_back({message, wParam});
        if (message == WM_TIMER && wParam == kStepTimer && onTick) onTick();
        if (message == WM_COMMAND && onCommand) onCommand(LOWORD(wParam));
        result = 0;
        return message == WM_COMMAND || message == kPosted || message == WM_TIMER;
    }
    bool PreTranslate(HWND, UINT, WPARAM wParam, LPARAM) override { return wParam == swallowKey; }
    void OnDetached() override { detached = true; }

    std::vector<Seen> seen;
    std::function<void()> onTick;
    std::function<void(int)> onCommand;
    WPARAM swallowKey = 0;
    bool detached = false;
};

// A control's own target that keeps its clicks from the dialog.
class ClickEater : public ui::win32::MessageTarget {
public:
    bool OnMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override { return false; }
    bool OnReflect(UINT code) override { return code == BN_CLICKED && ++eaten > 0; }
    int eaten = 0;
};

// Destroys a window that an ended test left behind before its target goes.
struct WindowGuard {
    HWND window;
    ~WindowGuard() {
        if (IsWindow(window)) DestroyWindow(window);
    }
};

bool Pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

bool WasSeen(const Recorder& recorder, UINT message, WPARAM wParam) {
    for (const Seen& s : recorder.seen)
        if (s.message == message && s.wParam == wParam) return true;
    return false;
}

std::u16string MenuText(HMENU menu, int position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
    return ui::win32::FromWide(text);
}

class TemplateDialogTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&classes);
    }
};

TEST_F(TemplateDialogTest, APersonsClicksAndKeysReachTheControlsAndTheModalRunEndsOnEscape) {
    Recorder recorder;
    ClickEater eater;
    ui::win32::ModalLoop loop;
    HWND dialog =
        ui::win32::CreateTemplateDialog(*res::FindDialog(131), Language::English, nullptr, recorder);
    ASSERT_NE(dialog, nullptr);
    WindowGuard guard{dialog};
    ASSERT_TRUE(ui::win32::AttachControl(GetDlgItem(dialog, IDOK), eater));
    recorder.swallowKey = VK_F2;
    recorder.onCommand = [&](int id) {
        if (id == IDCANCEL) loop.End(IDCANCEL);
    };
    // Each step waits for what the one before it did to show.
    int step = 0;
    recorder.onTick = [&] {
        if (step == 0 && IsWindowVisible(dialog)) {
            ClickAt(GetDlgItem(dialog, 1082));  // inside the group box, which lies above it
            ++step;
        } else if (step == 1 && WasSeen(recorder, WM_COMMAND, MAKEWPARAM(1082, BN_CLICKED))) {
            ClickAt(GetDlgItem(dialog, IDOK));
            ++step;
        } else if (step == 2 && eater.eaten == 1) {
            PressKey(VK_F2);
            PressKey(VK_ESCAPE);
            ++step;
        }
    };
    SetTimer(dialog, kStepTimer, 20, nullptr);

    EXPECT_EQ(loop.Run(dialog, nullptr), IDCANCEL);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1082), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1081), BST_UNCHECKED);
    EXPECT_EQ(eater.eaten, 1) << "the OK button's own target kept its click";
    EXPECT_FALSE(WasSeen(recorder, WM_COMMAND, IDOK));
    ASSERT_EQ(recorder.seen.size(), 2u);
    EXPECT_EQ(recorder.seen[1].wParam, static_cast<WPARAM>(IDCANCEL)) << "F2 was swallowed before Escape";
    DestroyWindow(dialog);
    EXPECT_TRUE(recorder.detached);
}

TEST_F(TemplateDialogTest, PostsFromAnotherThreadArriveInOrderAndNoneAfterTheWindowIsGone) {
    Recorder recorder;
    HWND dialog =
        ui::win32::CreateTemplateDialog(*res::FindDialog(100), Language::English, nullptr, recorder);
    ASSERT_NE(dialog, nullptr);
    WindowGuard guard{dialog};
    std::thread poster([dialog] {
        for (WPARAM i = 0; i < 300; ++i)
            PostMessageW(dialog, kPosted, i, 0);
    });
    poster.join();
    EXPECT_TRUE(tarnel::test::WaitUntil([&] { return recorder.seen.size() == 300; }, 10s, [] { Pump(); }));
    for (WPARAM i = 0; i < recorder.seen.size(); ++i)
        ASSERT_EQ(recorder.seen[i].wParam, i);

    recorder.seen.clear();
    PostMessageW(dialog, kPosted, 1, 0);
    DestroyWindow(dialog);
    bool postedAfter = true;
    std::thread([&] { postedAfter = PostMessageW(dialog, kPosted, 2, 0) != FALSE; }).join();
    Pump();
    EXPECT_FALSE(postedAfter);
    EXPECT_TRUE(recorder.seen.empty());
}

TEST_F(TemplateDialogTest, TimersAndNestedModalRunsEndInTheirOwnOrder) {
    Recorder outer;
    Recorder inner;
    ui::win32::ModalLoop outerLoop;
    ui::win32::ModalLoop innerLoop;
    HWND outerDialog =
        ui::win32::CreateTemplateDialog(*res::FindDialog(131), Language::English, nullptr, outer);
    WindowGuard guard{outerDialog};
    HWND innerDialog =
        ui::win32::CreateTemplateDialog(*res::FindDialog(100), Language::English, outerDialog, inner);
    std::vector<std::string> order;
    outer.onTick = [&] {
        KillTimer(outerDialog, kStepTimer);
        order.push_back("inner starts");
        order.push_back("inner returned " + std::to_string(innerLoop.Run(innerDialog, outerDialog)));
    };
    inner.onTick = [&] {
        if (!WasSeen(inner, WM_TIMER, 7)) return;
        KillTimer(innerDialog, kStepTimer);
        outerLoop.End(11);
        innerLoop.End(22);
        EXPECT_FALSE(IsWindowEnabled(outerDialog)) << "the owner is disabled during the inner run";
    };
    SetTimer(outerDialog, kStepTimer, 10, nullptr);
    SetTimer(innerDialog, kStepTimer, 10, nullptr);
    SetTimer(innerDialog, 7, 15, nullptr);
    order.push_back("outer returned " + std::to_string(outerLoop.Run(outerDialog, nullptr)));
    EXPECT_EQ(order, (std::vector<std::string>{"inner starts", "inner returned 22", "outer returned 11"}));
    EXPECT_TRUE(IsWindowEnabled(outerDialog));
    DestroyWindow(outerDialog);
    EXPECT_TRUE(inner.detached) << "an owned dialog goes with its owner";
}

TEST_F(TemplateDialogTest, TheMainDialogHasItsMenuBarInTheUiLanguageAndKeepsItsClientSize) {
    const res::DialogTemplate& main = *res::FindDialog(102);
    for (Language language : {Language::English, Language::Korean}) {
        const bool korean = language == Language::Korean;
        Recorder recorder;
        HWND dialog = ui::win32::CreateTemplateDialog(main, language, nullptr, recorder);
        ASSERT_NE(dialog, nullptr);
        WindowGuard guard{dialog};
        HMENU bar = GetMenu(dialog);
        ASSERT_NE(bar, nullptr);
        ASSERT_EQ(GetMenuItemCount(bar), 1);
        EXPECT_EQ(MenuText(bar, 0), korean ? u"메뉴" : u"Menu");
        HMENU popup = GetSubMenu(bar, 0);
        ASSERT_EQ(GetMenuItemCount(popup), 2);
        EXPECT_EQ(GetMenuItemID(popup, 0), 32772u);
        EXPECT_EQ(GetMenuItemID(popup, 1), 57664u);
        EXPECT_EQ(MenuText(popup, 0), korean ? u"COM 포트 설정" : u"Setup COM port");
        EXPECT_EQ(MenuText(popup, 1), korean ? u"프로그램 정보" : u"Tarnel Manager Info.");

        RECT client{};
        GetClientRect(dialog, &client);
        RECT size{0, 0, main.cx, main.cy};
        MapDialogRect(dialog, &size);
        EXPECT_EQ(client.right, size.right);
        EXPECT_EQ(client.bottom, size.bottom);
    }
}

}  // namespace
