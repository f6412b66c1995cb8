#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/win32/DialogTemplateEx.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Wide.h"
#include "res/ResourceCatalog.h"
#include "tests/platform/win32/PersonInput.h"

namespace {

using tarnel::test::TextOf;
using ui::Language;

std::u16string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return ui::win32::FromWide(name);
}

std::u16string_view ExpectedClass(res::ControlClass cls) {
    switch (cls) {
        case res::ControlClass::Button:
            return u"Button";
        case res::ControlClass::Edit:
            return u"Edit";
        case res::ControlClass::Static:
            return u"Static";
        case res::ControlClass::ComboBox:
            return u"ComboBox";
        case res::ControlClass::ListView:
            return u"SysListView32";
        case res::ControlClass::RichEdit:
            return u"RichEdit20W";
    }
    return {};
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// The control's rectangle in the dialog's client coordinates.
RECT PlacedRect(HWND dialog, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class DialogTemplateExTest : public testing::TestWithParam<Language> {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&classes);
        LoadLibraryW(L"riched20.dll");
    }
    void TearDown() override {
        for (HWND window : m_windows)
            DestroyWindow(window);
    }

    HWND Create(const res::DialogTemplate& dialog) {
        // A child page needs a parent window; a blank top-level dialog is one.
        HWND parent = (dialog.style & WS_CHILD) != 0 ? Create(*res::FindDialog(131)) : nullptr;
        m_words = ui::win32::BuildDialogTemplateEx(dialog, GetParam());
        HWND window = CreateDialogIndirectParamW(
            GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(m_words.data()), parent,
            [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
        if (window != nullptr) m_windows.insert(m_windows.begin(), window);
        return window;
    }

private:
    std::vector<std::uint16_t> m_words;
    std::vector<HWND> m_windows;
};

TEST_P(DialogTemplateExTest, EveryTemplateBecomesARealDialogWithItsControlsTextsAndPlaces) {
    const bool korean = GetParam() == Language::Korean;
    for (const res::DialogTemplate* dialog : res::AllDialogs()) {
        SCOPED_TRACE(dialog->id);
        HWND window = Create(*dialog);
        ASSERT_NE(window, nullptr) << "error " << GetLastError();
        EXPECT_EQ(TextOf(window),
                  korean && !dialog->caption.ko.empty() ? dialog->caption.ko : dialog->caption.en);
        RECT client{};
        GetClientRect(window, &client);
        RECT size{0, 0, dialog->cx, dialog->cy};
        MapDialogRect(window, &size);
        EXPECT_EQ(client.right, size.right);
        EXPECT_EQ(client.bottom, size.bottom);

        const std::vector<HWND> children = Children(window);
        ASSERT_EQ(children.size(), dialog->controls.size());
        for (size_t i = 0; i < children.size(); ++i) {
            const res::ControlTemplate& control = dialog->controls[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(GetDlgCtrlID(children[i]), control.id);
            EXPECT_EQ(ClassOf(children[i]), ExpectedClass(control.cls));
            const std::u16string_view text =
                korean && !control.text.ko.empty() ? control.text.ko : control.text.en;
            if (control.cls == res::ControlClass::Button || control.cls == res::ControlClass::Static) {
                EXPECT_EQ(TextOf(children[i]), text);
            }
            const LONG style = GetWindowLongW(children[i], GWL_STYLE);
            EXPECT_EQ(style & WS_VISIBLE, static_cast<LONG>(control.style & WS_VISIBLE));
            if (control.cls == res::ControlClass::Button) {
                EXPECT_EQ(style & BS_TYPEMASK, static_cast<LONG>(control.style & BS_TYPEMASK));
            }

            const res::Rect units = korean && control.koRect ? *control.koRect : control.rect;
            // Position and size in dialog units each become pixels, as the
            // system converts them.
            RECT expected{units.x, units.y, units.cx, units.cy};
            MapDialogRect(window, &expected);
            const RECT placed = PlacedRect(window, children[i]);
            EXPECT_EQ(placed.left, expected.left);
            EXPECT_EQ(placed.top, expected.top);
            EXPECT_EQ(placed.right - placed.left, expected.right);
            // A drop-down combo's height is its list's; the closed box is one line.
            if (control.cls != res::ControlClass::ComboBox) {
                EXPECT_EQ(placed.bottom - placed.top, expected.bottom);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, DialogTemplateExTest,
                         testing::Values(Language::English, Language::Korean));

}  // namespace
