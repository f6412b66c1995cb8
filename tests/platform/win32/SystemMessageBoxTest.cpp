#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/win32/SystemMessageBox.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Wide.h"

namespace {

using ui::Language;

std::u16string TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return ui::win32::FromWide(text);
}

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

void ClickAtCentre(HWND button) {
    RECT rect{};
    GetWindowRect(button, &rect);
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT inputs[3] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dx = ((rect.left + rect.right) / 2) * 65535 / width;
    inputs[0].mi.dy = ((rect.top + rect.bottom) / 2) * 65535 / height;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

// Runs inside the box's own loop, as a person looking at it would.
void CALLBACK LookAndAnswer(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowW(nullptr, L"Tarnel Manager");
    if (box == nullptr || !IsWindowVisible(box)) return;
    KillTimer(nullptr, timer);
    g_seen.caption = TextOf(box);
    g_seen.okText = TextOf(GetDlgItem(box, IDOK));
    g_seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
    if (g_seen.hasCancel) g_seen.cancelText = TextOf(GetDlgItem(box, IDCANCEL));
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::u16string text = TextOf(child);
        if (text.find(u"port") != std::u16string::npos) g_seen.text = text;
    }
    if (g_click != 0) {
        ClickAtCentre(GetDlgItem(box, g_click));
    } else {
        ui::OpenBox::CloseAll();
    }
}

struct Case {
    UINT style;
    Language language;
    int click;
    int answer;
    const char16_t* ok;
    const char16_t* cancel;
};

TEST(SystemMessageBoxTest, ShowsTheProgramsCaptionAndButtonsInTheUiLanguageAndAnswersAsClicked) {
    const Case cases[] = {
        {MB_OKCANCEL | MB_ICONQUESTION, Language::English, IDOK, IDOK, u"OK", u"Cancel"},
        {MB_OKCANCEL | MB_ICONQUESTION, Language::English, IDCANCEL, IDCANCEL, u"OK", u"Cancel"},
        {MB_OKCANCEL | MB_ICONQUESTION, Language::Korean, IDCANCEL, IDCANCEL, u"확인", u"취소"},
        {MB_OKCANCEL | MB_ICONQUESTION, Language::Korean, 0, IDCANCEL, u"확인", u"취소"},
        {MB_ICONERROR, Language::Korean, IDOK, IDOK, u"확인", nullptr},
        {MB_ICONINFORMATION, Language::English, 0, IDOK, u"OK", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " click " << c.click);
        g_seen = {};
        g_click = c.click;
        SetTimer(nullptr, 0, 20, LookAndAnswer);
        ui::OpenBox open;
        EXPECT_EQ(
            ui::win32::SystemMessageBox(nullptr, u"Failed to open the port.", c.style, c.language, open),
            c.answer);
        EXPECT_EQ(g_seen.caption, u"Tarnel Manager");
        EXPECT_EQ(g_seen.text, u"Failed to open the port.");
        EXPECT_EQ(g_seen.okText, c.ok);
        EXPECT_EQ(g_seen.hasCancel, c.cancel != nullptr);
        if (c.cancel != nullptr) {
            EXPECT_EQ(g_seen.cancelText, c.cancel);
        }
    }
}

}  // namespace
