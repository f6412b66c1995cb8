#include "terminal/CHistoryCombo.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <string>
#include <vector>

#include "platform/DataExchange.h"
#include "platform/PropertyPage.h"
#include "platform/qt/WindowAccess.h"
#include "tests/terminal/TerminalTestHost.h"

namespace {

using terminal_test::HostDialog;
using terminal_test::PressKey;
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

QLineEdit* EditOf(const CHistoryCombo& combo) {
    return qobject_cast<QComboBox*>(ui::QWidgetOf(combo))->lineEdit();
}

void Type(const CHistoryCombo& combo, const std::u16string& text) {
    for (char16_t unit : text) {
        const int key = unit >= u'a' && unit <= u'z' ? Qt::Key_A + (unit - u'a') : unit;
        PressKey(EditOf(combo), key, std::u16string(1, unit));
    }
}

// Runs `body` with the combo page created in a host window, the combo
// focused.
void WithCombo(const std::function<void(ComboPage&)>& body) {
    ComboPage page;
    terminal_test::WithHostWindow([&](HostDialog& host) {
        ASSERT_TRUE(page.Create(&host));
        page.ShowWindow(ui::SW_SHOW);
        page.combo.SetFocus();
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
        QLineEdit* edit = EditOf(page.combo);

        Type(page.combo, u"A");
        EXPECT_EQ(edit->text(), QString("AT+VER?"));
        EXPECT_EQ(edit->selectedText(), QString("T+VER?"));

        Type(page.combo, u"T");
        EXPECT_EQ(edit->text(), QString("AT+VER?"));
        EXPECT_EQ(edit->selectedText(), QString("+VER?"));

        PressKey(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), QString("AT"));
        EXPECT_FALSE(edit->hasSelectedText());

        Type(page.combo, u"+");
        EXPECT_EQ(edit->text(), QString("AT+VER?"));
        EXPECT_EQ(edit->selectedText(), QString("VER?"));
    });
}

TEST(CHistoryCombo, NoCompletionForAnotherCaseOrInTheMiddleOfTheText) {
    WithCombo([](ComboPage& page) {
        page.combo.AddToHistory(u"AT+VER?");
        page.combo.AddToHistory(u"ATZ");
        page.combo.SetWindowText(u"");
        QLineEdit* edit = EditOf(page.combo);

        Type(page.combo, u"at");
        EXPECT_EQ(edit->text(), QString("at"));
        EXPECT_EQ(edit->cursorPosition(), 2);

        edit->setText("AZ");
        edit->setCursorPosition(1);
        Type(page.combo, u"T");
        EXPECT_EQ(edit->text(), QString("ATZ"));
        EXPECT_FALSE(edit->hasSelectedText());
        EXPECT_EQ(edit->cursorPosition(), 2);
    });
}

TEST(CHistoryCombo, EnterPostsOneNotificationToTheOwner) {
    WithCombo([](ComboPage& page) {
        PressKey(EditOf(page.combo), Qt::Key_Return, u"\r");
        ASSERT_TRUE(WaitFor([&] { return !page.enterNotifications.empty(); }));
        terminal_test::Settle();
        ASSERT_EQ(page.enterNotifications.size(), 1u);
        EXPECT_EQ(page.enterNotifications[0], reinterpret_cast<ui::LPARAM>(&page.combo));
    });
}

}  // namespace
