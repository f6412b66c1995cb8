#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/ToolkitBox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/OpenBox.h"
#include "platform/Window.h"
#include "platform/win32/WindowAccess.h"

#include "tests/platform/win32/PersonInput.h"

namespace {

using tarnel::test::ClickAt;
using tarnel::test::TextOf;

// What the box showed, and which button to click at its centre (0: none,
// the program closes the box).
struct Seen {
    std::u16string caption;
    std::u16string text;
    std::u16string okText;
    std::u16string cancelText;
    bool hasCancel = false;
};

Seen g_seen;
int g_click = 0;
HWND g_answered = nullptr;
HWND g_owner = nullptr;
bool g_ownerEnabled = true;

// Runs inside the box's own loop, as a person looking at it would; one
// click for each box.
void CALLBACK LookAndAnswer(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowW(nullptr, L"Tarnel Manager");
    if (box == nullptr || !IsWindowVisible(box) || box == g_answered) return;
    g_answered = box;
    g_seen.caption = TextOf(box);
    g_owner = GetWindow(box, GW_OWNER);
    g_ownerEnabled = g_owner != nullptr && IsWindowEnabled(g_owner) != FALSE;
    g_seen.okText = TextOf(GetDlgItem(box, IDOK));
    g_seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
    if (g_seen.hasCancel) g_seen.cancelText = TextOf(GetDlgItem(box, IDCANCEL));
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::u16string text = TextOf(child);
        if (text.find(u"port") != std::u16string::npos) g_seen.text = text;
    }
    if (g_click != 0) {
        ClickAt(GetDlgItem(box, g_click));
    } else {
        ui::OpenBox::CloseAll();
    }
}

struct Case {
    UINT style;
    int click;
    bool ok;
    const char16_t* okText;
    const char16_t* cancelText;
};

TEST(ToolkitBoxTest, ShowsTheCaptionTextAndButtonTextsGivenAndAnswersAsClicked) {
    const Case cases[] = {
        {MB_OKCANCEL | MB_ICONQUESTION, IDOK, true, u"OK", u"Cancel"},
        {MB_OKCANCEL | MB_ICONQUESTION, IDCANCEL, false, u"OK", u"Cancel"},
        {MB_OKCANCEL | MB_ICONQUESTION, IDCANCEL, false, u"확인", u"취소"},
        {MB_OKCANCEL | MB_ICONQUESTION, 0, false, u"확인", u"취소"},
        {MB_ICONERROR, IDOK, true, u"확인", nullptr},
        {MB_ICONINFORMATION, 0, false, u"OK", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " click " << c.click);
        g_seen = {};
        g_click = c.click;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, LookAndAnswer);
        ui::OpenBox open;
        const ui::BoxLook look{u"Tarnel Manager", u"Failed to open the port.", c.style, c.okText,
                               c.cancelText != nullptr ? c.cancelText : u""};
        EXPECT_EQ(ui::ShowToolkitBox(look, open), c.ok);
        KillTimer(nullptr, timer);
        EXPECT_EQ(g_seen.caption, u"Tarnel Manager");
        EXPECT_EQ(g_seen.text, u"Failed to open the port.");
        EXPECT_EQ(g_seen.okText, c.okText);
        EXPECT_EQ(g_seen.hasCancel, c.cancelText != nullptr);
        if (c.cancelText != nullptr) {
            EXPECT_EQ(g_seen.cancelText, c.cancelText);
        }
    }
}

// Another program in front: a window of another thread has the activation,
// so this thread has no active window while the box comes up.
class WindowInFront {
public:
    WindowInFront() {
        m_thread = std::thread([this] {
            HWND window = CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
            SetForegroundWindow(window);
            m_threadId = GetCurrentThreadId();
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                DispatchMessageW(&msg);
            DestroyWindow(window);
        });
        while (m_threadId == 0)
            std::this_thread::yield();
    }
    ~WindowInFront() {
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
    }
    WindowInFront(const WindowInFront&) = delete;
    WindowInFront& operator=(const WindowInFront&) = delete;

private:
    std::thread m_thread;
    std::atomic<DWORD> m_threadId{0};
};

TEST(ToolkitBoxTest, ABoxRaisedInTheBackgroundBelongsToTheMainWindowAndDisablesIt) {
    ui::Window main;
    ASSERT_TRUE(main.CreateBlank());
    ShowWindow(ui::HwndOf(main), SW_SHOWNOACTIVATE);
    ui::SetMainWnd(&main);
    {
        WindowInFront other;
        ASSERT_EQ(GetActiveWindow(), nullptr) << "the program is not in front";
        g_seen = {};
        g_answered = nullptr;
        g_owner = nullptr;
        g_click = IDOK;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, LookAndAnswer);
        ui::OpenBox open;
        EXPECT_TRUE(ui::ShowToolkitBox(
            {u"Tarnel Manager", u"The port was unplugged.", MB_ICONERROR, u"OK", u""}, open));
        KillTimer(nullptr, timer);
    }
    ui::SetMainWnd(nullptr);
    EXPECT_EQ(g_owner, ui::HwndOf(main));
    EXPECT_FALSE(g_ownerEnabled) << "the main window takes no clicks while the box is up";
    EXPECT_TRUE(IsWindowEnabled(ui::HwndOf(main))) << "and takes them again afterwards";
}

}  // namespace
