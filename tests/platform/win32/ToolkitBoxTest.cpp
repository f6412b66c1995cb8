#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/ToolkitBox.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/OpenBox.h"

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

// Runs inside the box's own loop, as a person looking at it would; one
// click for each box.
void CALLBACK LookAndAnswer(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowW(nullptr, L"Tarnel Manager");
    if (box == nullptr || !IsWindowVisible(box) || box == g_answered) return;
    g_answered = box;
    g_seen.caption = TextOf(box);
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

}  // namespace
