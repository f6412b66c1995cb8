#include "platform/Dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "platform/Button.h"
#include "platform/DataExchange.h"
#include "platform/Edit.h"
#include "platform/Menu.h"
#include "platform/PropertyPage.h"
#include "platform/TestHooks.h"
#include "platform/qt/QtMenu.h"
#include "platform/qt/WindowAccess.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"

namespace {

using platform_test::kModal;
using platform_test::kPage;
using ui::LPARAM;
using ui::LRESULT;
using ui::UINT;
using ui::WPARAM;

constexpr UINT WM_END = ui::WM_APP + 1;
constexpr UINT WM_INNER = ui::WM_APP + 2;

class TestDialog : public ui::Dialog {
public:
    explicit TestDialog(Window* parent = nullptr) : ui::Dialog(kModal, parent) {
        MapCommand(80, &TestDialog::OnPush);
        MapMessage(WM_END, &TestDialog::OnEnd);
        MapMessage(WM_INNER, &TestDialog::OnInner);
    }
    std::vector<std::string> log;
    std::function<void()> onInit;
    std::function<void()> onPush;
    std::function<bool(const ui::MSG&)> preTranslate;
    int innerResult = 0;

protected:
    bool OnInitDialog() override {
        ui::Dialog::OnInitDialog();
        log.push_back("init");
        if (onInit) onInit();
        return true;
    }
    void OnOK() override {
        log.push_back("ok");
        ui::Dialog::OnOK();
    }
    void OnCancel() override {
        log.push_back("cancel");
        ui::Dialog::OnCancel();
    }
    void PostNcDestroy() override { log.push_back("destroyed"); }
    bool PreTranslateMessage(const ui::MSG& msg) override { return preTranslate && preTranslate(msg); }

private:
    void OnPush() {
        log.push_back("push");
        if (onPush) onPush();
    }
    LRESULT OnEnd(WPARAM w, LPARAM) {
        EndDialog(static_cast<int>(w));
        return 0;
    }
    LRESULT OnInner(WPARAM, LPARAM) {
        TestDialog inner(this);
        inner.onInit = [&inner] { inner.PostMessage(WM_END, 42); };
        innerResult = inner.DoModal();
        return 0;
    }
};

TEST(DialogModal, ReturnsTheValueGivenToEndDialogAndDestroysTheWindowFirst) {
    TestDialog dialog;
    dialog.onInit = [&] { dialog.PostMessage(WM_END, 17); };
    EXPECT_EQ(dialog.DoModal(), 17);
    EXPECT_FALSE(dialog.IsWindow());
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"init", "destroyed"}));
    dialog.log.clear();
    dialog.onInit = [&] { dialog.EndDialog(3); };
    EXPECT_EQ(dialog.DoModal(), 3) << "a dialog object runs again; ending in OnInitDialog skips the loop";
}

TEST(DialogModal, OkAndCancelButtonsGoThroughOnOkAndOnCancel) {
    TestDialog dialog;
    ui::test::ModalRecorder modal(
        [](ui::Dialog& d) { dynamic_cast<ui::Button&>(*d.GetDlgItem(ui::IDOK)).Click(); });
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(modal.TemplateIds(), std::vector<int>{9001});
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"init", "ok", "destroyed"}));
}

TEST(DialogModal, EscapeAndTheCloseButtonAreCommandIdCancel) {
    TestDialog dialog;
    ui::test::ModalRecorder modal(
        [](ui::Dialog& d) { QTest::keyClick(ui::QWidgetOf(*d.GetDlgItem(11)), Qt::Key_Escape); });
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"init", "cancel", "destroyed"}));

    TestDialog closing;
    ui::test::ModalRecorder close([](ui::Dialog& d) { ui::QWidgetOf(d)->close(); });
    EXPECT_EQ(closing.DoModal(), ui::IDCANCEL);
}

TEST(DialogModal, EnterClicksTheDefaultButton) {
    TestDialog dialog;
    ui::test::ModalRecorder modal(
        [](ui::Dialog& d) { QTest::keyClick(ui::QWidgetOf(*d.GetDlgItem(11)), Qt::Key_Return); });
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
}

TEST(DialogModal, NestedRunsEndInnerFirstAndAnOuterEndWaitsForTheInnerRun) {
    TestDialog outer;
    // The inner dialog ends itself; afterwards the outer one is ended.
    outer.onInit = [&] {
        outer.PostMessage(WM_INNER);
        outer.PostMessage(WM_END, 5);
    };
    EXPECT_EQ(outer.DoModal(), 5);
    EXPECT_EQ(outer.innerResult, 42);

    // The outer dialog is ended while the inner one still runs: the inner run
    // goes on until it ends, then the outer one returns.
    class Nesting : public TestDialog {
    public:
        Nesting() { MapMessage(WM_INNER + 1, &Nesting::OnNest); }
        bool innerStillRan = false;

    private:
        LRESULT OnNest(WPARAM, LPARAM) {
            TestDialog inner(this);
            inner.onInit = [this, &inner] {
                EndDialog(9);
                inner.PostMessage(WM_END, 1);
            };
            innerStillRan = inner.DoModal() == 1 && IsWindow();
            return 0;
        }
    } nesting;
    nesting.onInit = [&] { nesting.PostMessage(WM_INNER + 1); };
    EXPECT_EQ(nesting.DoModal(), 9);
    EXPECT_TRUE(nesting.innerStillRan);
}

TEST(DialogModal, ControlsComeFromTheTemplateWithTheirTextsAndKinds) {
    TestDialog dialog;
    ui::test::ModalRecorder modal([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItem(ui::IDOK)->GetWindowText(), u"OK");
        EXPECT_EQ(d.GetDlgItem(50)->GetWindowText(), u"Label");
        EXPECT_EQ(d.GetWindowText(), u"Test dialog");
        EXPECT_NE(dynamic_cast<ui::Edit*>(d.GetDlgItem(11)), nullptr);
        EXPECT_EQ(d.GetDlgItem(999), nullptr);
        EXPECT_EQ(d.GetDlgItem(11)->GetDlgCtrlID(), 11);
        EXPECT_EQ(d.GetDlgItem(11)->GetParent(), &d);
        EXPECT_TRUE(d.GetDlgItem(80)->IsWindowVisible());
        EXPECT_TRUE(qobject_cast<QPushButton*>(ui::QWidgetOf(*d.GetDlgItem(ui::IDOK)))->isDefault());
        ui::RECT client;
        d.GetClientRect(client);
        EXPECT_GT(client.Width(), client.Height()) << "280 x 130 dialog units";
        d.EndDialog(0);
    });
    dialog.DoModal();
}

TEST(DialogModal, AMissingTemplateFailsWithMinusOne) {
    ui::Dialog dialog(424242);
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(DialogKeys, PreTranslateSeesTheKeyFirstAndCanSwallowIt) {
    TestDialog dialog;
    std::vector<UINT> seen;
    dialog.preTranslate = [&](const ui::MSG& msg) {
        EXPECT_EQ(msg.message, ui::WM_KEYDOWN);
        EXPECT_EQ(msg.hwnd, dialog.GetDlgItem(11)) << "the window with the focus";
        seen.push_back(static_cast<UINT>(msg.wParam));
        return msg.wParam == ui::VK_ESCAPE;
    };
    ui::test::ModalRecorder modal([](ui::Dialog& d) {
        QWidget* edit = ui::QWidgetOf(*d.GetDlgItem(11));
        QTest::keyClick(edit, Qt::Key_Escape);
        EXPECT_TRUE(d.IsWindow()) << "a swallowed Escape does not cancel";
        QTest::keyClicks(edit, "ab");
        EXPECT_EQ(d.GetDlgItem(11)->GetWindowText(), u"ab");
        d.EndDialog(0);
    });
    dialog.DoModal();
    EXPECT_EQ(seen, (std::vector<UINT>{ui::VK_ESCAPE, 'A', 'B'}));
}

// A control class of the test's own with key handlers.
class KeyEdit : public ui::Edit {
public:
    KeyEdit() {
        MapKeyDown(&KeyEdit::OnKeyDown);
        MapChar(&KeyEdit::OnChar);
    }
    std::vector<std::string> log;

private:
    bool OnKeyDown(UINT vk) {
        log.push_back("down " + std::to_string(vk));
        return vk == ui::VK_LEFT;
    }
    bool OnChar(char16_t unit) {
        log.push_back("char " + std::to_string(unit));
        return unit == u'x';
    }
};

class KeyDialog : public TestDialog {
public:
    KeyEdit edit;

protected:
    void DoDataExchange(ui::DataExchange& dx) override { ui::DDX_Control(dx, 11, edit); }
};

TEST(DialogKeys, KeyDownThenCharThenTheDefaultUnlessAHandlerTakesIt) {
    KeyDialog dialog;
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        QWidget* widget = ui::QWidgetOf(dialog.edit);
        QTest::keyClicks(widget, "axb");
        EXPECT_EQ(dialog.edit.GetWindowText(), u"ab") << "x was taken by the char handler";
        int start = 0;
        int end = 0;
        dialog.edit.GetSel(start, end);
        ASSERT_EQ(start, 2);
        QTest::keyClick(widget, Qt::Key_Left);
        dialog.edit.GetSel(start, end);
        EXPECT_EQ(start, 2) << "Left was swallowed at key-down";
        QTest::keyClick(widget, Qt::Key_Home);
        dialog.edit.GetSel(start, end);
        EXPECT_EQ(start, 0) << "Home had its default";
        d.EndDialog(0);
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.edit.log, (std::vector<std::string>{"down 65", "char 97", "down 88", "char 120",
                                                         "down 66", "char 98", "down 37", "down 36"}));
}

class HostPage : public ui::PropertyPage {
public:
    HostPage() : ui::PropertyPage(kPage) {
        MapCommand(ui::IDOK, &HostPage::OnNothing);
        MapCommand(80, &HostPage::OnPush);
    }
    int pushes = 0;
    bool destroyed = false;

protected:
    void PostNcDestroy() override { destroyed = true; }

private:
    void OnNothing() {}
    void OnPush() { ++pushes; }
};

TEST(DialogChildPage, IsCreatedHiddenOnItsParentThenShownMovedAndDestroyedWithIt) {
    TestDialog dialog;
    HostPage page;
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        ASSERT_TRUE(page.Create(&d));
        EXPECT_FALSE(page.Create(&d)) << "exists already";
        EXPECT_EQ(page.GetParent(), &d);
        EXPECT_FALSE(page.IsWindowVisible()) << "the template has no WS_VISIBLE";
        page.ShowWindow(ui::SW_SHOW);
        EXPECT_TRUE(page.IsWindowVisible());
        page.MoveWindow(5, 6, 100, 80);
        ui::RECT rect;
        page.GetWindowRect(rect);
        d.ScreenToClient(rect);
        EXPECT_EQ(rect.left, 5);
        EXPECT_EQ(rect.top, 6);
        EXPECT_EQ(rect.Width(), 100);
        EXPECT_EQ(rect.Height(), 80);
        dynamic_cast<ui::Button&>(*page.GetDlgItem(80)).Click();
        EXPECT_EQ(page.pushes, 1) << "the page's own control reaches the page";
        QTest::keyClick(ui::QWidgetOf(*page.GetDlgItem(11)), Qt::Key_Escape);
        EXPECT_TRUE(d.IsWindow()) << "Escape in a page is the page's own cancel";
        page.ShowWindow(ui::SW_HIDE);
        EXPECT_FALSE(page.IsWindowVisible());
        d.EndDialog(0);
    });
    dialog.DoModal();
    EXPECT_FALSE(page.IsWindow());
    EXPECT_TRUE(page.destroyed);
    EXPECT_FALSE(page.Create(&dialog)) << "the parent has no window";
}

TEST(DialogMenus, SystemMenuItemsSendSysCommandAndTheTemplateMenuSendsCommands) {
    class MenuDialog : public TestDialog {
    public:
        MenuDialog() { MapMessage(ui::WM_SYSCOMMAND, &MenuDialog::OnSysCommand); }
        std::vector<WPARAM> sys;

    private:
        LRESULT OnSysCommand(WPARAM w, LPARAM) {
            sys.push_back(w);
            return 0;
        }
    } dialog;
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetMenu(), nullptr) << "the template names no menu";
        ui::Menu* system = d.GetSystemMenu();
        ASSERT_NE(system, nullptr);
        system->AppendMenu(ui::MF_SEPARATOR);
        system->AppendMenu(ui::MF_STRING, 0x10, u"About");
        EXPECT_EQ(system->GetMenuItemCount(), 2);
        EXPECT_EQ(system->GetMenuItemID(1), 0x10);
        EXPECT_EQ(system->GetMenuString(1), u"About");
        ui::QMenuOf(*system)->actions().at(1)->trigger();
        d.EndDialog(0);
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.sys, std::vector<WPARAM>{0x10});
}

}  // namespace
