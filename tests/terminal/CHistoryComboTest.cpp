#include "terminal/CHistoryCombo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DataExchange.h"
#include "platform/PropertyPage.h"
#include "tests/support/PersonInput.h"
#include "tests/terminal/TerminalTestHost.h"

namespace {

using tarnel::test::PressKey;
using tarnel::test::TypeText;
using terminal_test::HostDialog;
using terminal_test::WaitFor;

constexpr int kComboId = 1086;

const res::ControlTemplate kControls[] = {
    {kComboId, res::ControlClass::ComboBox, {u"", u""}, 0x50210002, 0, {3, 3, 250, 84}, {}},
};
const res::DialogTemplate kTemplate{
    0, {u"", u""}, u"MS Shell Dlg", 8, 260, 100, ui::WS_CHILD | ui::WS_VISIBLE, 0, 0, kControls};

// A page holding only the combo; it counts the Enter notifications.
class ComboPage : public ui::PropertyPage {
public:
    ComboPage() : ui::PropertyPage(kTemplate) { MapMessage(WM_HISTORY_ENTER, &ComboPage::OnHistoryEnter); }

    CHistoryCombo combo;
    std::vector<ui::LPARAM> enterNotifications;

protected:
    void DoDataExchange(ui::DataExchange& dx) override { ui::DDX_Control(dx, kComboId, combo); }

private:
    ui::LRESULT OnHistoryEnter(ui::WPARAM, ui::LPARAM lParam) {
        enterNotifications.push_back(lParam);
        return 0;
    }
};

std::vector<std::u16string> Items(const CHistoryCombo& combo) {
    std::vector<std::u16string> items;
    for (int i = 0; i < combo.GetCount(); ++i)
        items.push_back(combo.GetLBText(i));
    return items;
}

// The edit field's selected text, empty when nothing is selected.
std::u16string SelectedText(const CHistoryCombo& combo) {
    const std::uint32_t sel = combo.GetEditSel();
    const unsigned start = ui::LOWORD(sel);
    return combo.GetWindowText().substr(start, ui::HIWORD(sel) - start);
}

// Where the caret is: the selection's end.
unsigned Caret(const CHistoryCombo& combo) {
    return ui::HIWORD(combo.GetEditSel());
}

// Runs `body` with the combo page created in a host window, the combo
// focused by a click on its field.
void WithCombo(const std::function<void(ComboPage&)>& body) {
    ComboPage page;
    terminal_test::WithHostWindow([&](HostDialog& host) {
        ASSERT_TRUE(page.Create(&host));
        page.ShowWindow(ui::SW_SHOW);
        host.Hold(page);
        ASSERT_EQ(tarnel::test::ClickOn(page.combo), &page.combo);
        body(page);
    });
}

struct HistoryCase {
    const char* name;
    std::vector<std::u16string> added;
    std::vector<std::u16string> expected;
};

TEST(CHistoryCombo, AddToHistoryKeepsNewestFirstEachOnceAtMostTen) {
    std::vector<std::u16string> eleven;
    for (int i = 0; i < 11; ++i)
        eleven.push_back(u"line" + std::u16string(1, char16_t(u'a' + i)));
    std::vector<std::u16string> newestTen(eleven.rbegin(), eleven.rbegin() + 10);

    const std::vector<HistoryCase> cases = {
        {"repeat moves to top", {u"AT", u"ATI", u"AT"}, {u"AT", u"ATI"}},
        {"eleven lines", eleven, newestTen},
        {"spaces trimmed", {u"  AT+VER?  "}, {u"AT+VER?"}},
        {"only spaces trimmed, tabs kept", {u"\tAT \t "}, {u"\tAT \t"}},
        {"spaces only become an empty entry", {u"AT", u"   "}, {u"", u"AT"}},
        {"case-sensitive", {u"at", u"AT"}, {u"AT", u"at"}},
        {"trimmed repeat is the same entry", {u"AT", u"ATI", u" AT "}, {u"AT", u"ATI"}},
    };
    WithCombo([&](ComboPage& page) {
        for (const HistoryCase& c : cases) {
            page.combo.ResetContent();
            for (const std::u16string& line : c.added)
                EXPECT_EQ(page.combo.AddToHistory(line), 0) << c.name;
            EXPECT_EQ(Items(page.combo), c.expected) << c.name;
            EXPECT_EQ(page.combo.GetCurSel(), 0) << c.name;
            EXPECT_EQ(page.combo.GetWindowText(), c.expected.front()) << c.name;
        }
    });
}

TEST(CHistoryCombo, SaveCurrentIgnoresAnEmptyField) {
    WithCombo([](ComboPage& page) {
        page.combo.SetWindowText(u"");
        page.combo.SaveCurrent();
        EXPECT_EQ(page.combo.GetCount(), 0);
        page.combo.SetWindowText(u" ATZ ");
        page.combo.SaveCurrent();
        EXPECT_EQ(Items(page.combo), std::vector<std::u16string>{u"ATZ"});
    });
}

TEST(CHistoryCombo, FindPrefixSelectsTheFirstEntryThatBeginsWithTheText) {
    WithCombo([](ComboPage& page) {
        EXPECT_EQ(page.combo.FindPrefix(u"A"), -1);
        for (const char16_t* line : {u"AT+NAME?", u"AT", u"AT+VER?"})
            page.combo.AddToHistory(line);
        // The list reads AT+VER?, AT, AT+NAME?.
        EXPECT_EQ(page.combo.FindPrefix(u"AT+N"), 2);
        EXPECT_EQ(page.combo.GetWindowText(), u"AT+NAME?");
        EXPECT_EQ(page.combo.FindPrefix(u"AT"), 0);
        EXPECT_EQ(page.combo.FindPrefix(u"at"), -1);
        EXPECT_EQ(page.combo.FindPrefix(u"AT+VER?X"), -1);
    });
}

TEST(CHistoryCombo, TypingCompletesAndBackspaceSuppressesTheNextCompletion) {
    WithCombo([](ComboPage& page) {
        page.combo.AddToHistory(u"AT+VER?");
        page.combo.SetWindowText(u"");

        TypeText(u"A");
        EXPECT_EQ(page.combo.GetWindowText(), u"AT+VER?");
        EXPECT_EQ(SelectedText(page.combo), u"T+VER?");

        TypeText(u"T");
        EXPECT_EQ(page.combo.GetWindowText(), u"AT+VER?");
        EXPECT_EQ(SelectedText(page.combo), u"+VER?");

        PressKey(ui::VK_BACK);
        EXPECT_EQ(page.combo.GetWindowText(), u"AT");
        EXPECT_EQ(SelectedText(page.combo), u"");

        TypeText(u"+");
        EXPECT_EQ(page.combo.GetWindowText(), u"AT+VER?");
        EXPECT_EQ(SelectedText(page.combo), u"VER?");
    });
}

TEST(CHistoryCombo, NoCompletionForAnotherCaseOrInTheMiddleOfTheText) {
    WithCombo([](ComboPage& page) {
        page.combo.AddToHistory(u"AT+VER?");
        page.combo.AddToHistory(u"ATZ");
        page.combo.SetWindowText(u"");

        TypeText(u"at");
        EXPECT_EQ(page.combo.GetWindowText(), u"at");
        EXPECT_EQ(Caret(page.combo), 2u);

        page.combo.SetWindowText(u"AZ");
        page.combo.SetEditSel(1, 1);
        TypeText(u"T");
        EXPECT_EQ(page.combo.GetWindowText(), u"ATZ");
        EXPECT_EQ(SelectedText(page.combo), u"");
        EXPECT_EQ(Caret(page.combo), 2u);
    });
}

TEST(CHistoryCombo, EnterPostsOneNotificationToTheOwner) {
    WithCombo([](ComboPage& page) {
        PressKey(ui::VK_RETURN);
        ASSERT_TRUE(WaitFor([&] { return !page.enterNotifications.empty(); }));
        terminal_test::Settle();
        ASSERT_EQ(page.enterNotifications.size(), 1u);
        EXPECT_EQ(page.enterNotifications[0], reinterpret_cast<ui::LPARAM>(&page.combo));
    });
}

}  // namespace
