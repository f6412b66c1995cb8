#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/Application.h"
#include "platform/Button.h"
#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/Edit.h"
#include "platform/Menu.h"
#include "platform/Painter.h"
#include "platform/PropertyPage.h"
#include "platform/TestHooks.h"
#include "platform/WindowThread.h"
#include "platform/win32/WindowAccess.h"
#include "tests/platform/TestTemplates.h"
#include "tests/platform/win32/PersonInput.h"
#include "tests/support/ModalRecorder.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using tarnel::test::ClickAt;
using tarnel::test::PressKey;

constexpr UINT kStepTimer = 1;
constexpr UINT kPosted = WM_APP + 5;

bool Pump(const std::function<bool()>& condition) {
    return tarnel::test::WaitUntil(condition, 10s, [] { ui::test::ProcessEvents(); });
}

// Records the kPosted messages it is given.
class PostTarget : public ui::Window {
public:
    PostTarget() { MapMessage(kPosted, &PostTarget::OnPosted); }
    std::vector<ui::WPARAM> seen;

private:
    ui::LRESULT OnPosted(ui::WPARAM w, ui::LPARAM) {
        seen.push_back(w);
        return 0;
    }
};

class WindowCoreTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "platform_win32_tests";
        static char* argv[] = {name, nullptr};
        static ui::Application app(argc, argv);
    }
};

// A dialog that a person works through a step at a time: each step waits for
// what the one before it did to show in the message map.
class PersonDialog : public ui::Dialog {
public:
    explicit PersonDialog(ui::Window* parent = nullptr) : ui::Dialog(platform_test::kModal, parent) {
        MapCommandRange(20, 23, &PersonDialog::OnRadio);
        MapCommand(80, &PersonDialog::OnPushButton);
        MapTimer(&PersonDialog::OnTimer);
    }

    std::function<void(PersonDialog&)> onStep;
    std::vector<int> seen;  // command ids, and -key for a swallowed key
    std::vector<UINT> timers;
    int radio = 0;
    ui::Button pushButton;
    int destroyed = 0;

protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        ui::DDX_Control(dx, 80, pushButton);
        ui::DDX_Radio(dx, 20, radio);
    }
    bool OnInitDialog() override {
        ui::Dialog::OnInitDialog();
        SetTimer(kStepTimer, 20);
        return true;
    }
    bool PreTranslateMessage(const ui::MSG& msg) override {
        if (msg.wParam != VK_F2) return false;
        seen.push_back(-VK_F2);
        return true;
    }
    void PostNcDestroy() override { ++destroyed; }

private:
    void OnRadio(UINT id) { seen.push_back(static_cast<int>(id)); }
    void OnPushButton() { seen.push_back(80); }
    void OnTimer(UINT id) {
        if (id != kStepTimer) timers.push_back(id);
        if (id == kStepTimer && onStep) onStep(*this);
    }
};

HWND ItemHwnd(const ui::Window& dialog, int id) {
    return ui::HwndOf(*dialog.GetDlgItem(id));
}

TEST_F(WindowCoreTest, APersonsClicksReachTheMessageMapAndTheDataExchangeReadsThem) {
    struct Click {
        int control;
        int command;  // the id the map gets
    };
    // The radio buttons are automatic: the last one clicked is the group's value.
    const std::vector<Click> clicks = {{21, 21}, {80, 80}, {23, 23}, {22, 22}};
    PersonDialog dialog;
    size_t step = 0;
    bool keysPressed = false;
    dialog.onStep = [&](PersonDialog& d) {
        if (step < clicks.size()) {
            if (d.seen.size() == step) ClickAt(ItemHwnd(d, clicks[step++].control));
        } else if (!keysPressed) {
            keysPressed = d.seen.size() == step;
            if (keysPressed) PressKey(VK_F2);
        } else if (d.seen.size() == step + 1) {
            ++step;
            ClickAt(ItemHwnd(d, IDOK));
        }
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    std::vector<int> expected;
    for (const Click& click : clicks)
        expected.push_back(click.command);
    expected.push_back(-VK_F2);
    EXPECT_EQ(dialog.seen, expected);
    EXPECT_EQ(dialog.radio, 2) << "22 is the third of the group 20..22";
    EXPECT_FALSE(dialog.IsWindow());
    EXPECT_EQ(dialog.destroyed, 1);
    EXPECT_FALSE(dialog.pushButton.IsWindow()) << "the bound control goes with its dialog";
}

TEST_F(WindowCoreTest, BoundMembersAndWrappersStandForTheTemplatesControls) {
    ui::test::ModalRecorder recorder([](ui::Dialog& d) {
        auto& dialog = static_cast<PersonDialog&>(d);
        EXPECT_EQ(dialog.GetDlgItem(80), &dialog.pushButton);
        EXPECT_EQ(dialog.pushButton.GetDlgCtrlID(), 80);
        EXPECT_EQ(dialog.pushButton.GetParent(), &dialog);
        EXPECT_NE(dynamic_cast<ui::Button*>(dialog.GetDlgItem(10)), nullptr);
        EXPECT_NE(dynamic_cast<ui::Edit*>(dialog.GetDlgItem(11)), nullptr);
        EXPECT_EQ(dialog.GetDlgItem(999), nullptr);
        EXPECT_EQ(SendMessageW(ItemHwnd(dialog, 20), BM_GETCHECK, 0, 0), BST_CHECKED) << "radio 0 was put";
        dialog.radio = -1;
        dialog.UpdateData(false);
        dialog.radio = 5;
        dialog.UpdateData(true);
        EXPECT_EQ(dialog.radio, -1) << "-1 unchecks the whole group";
        dialog.SetDlgItemText(11, u"Grüße 안녕");
        EXPECT_EQ(dialog.GetDlgItemText(11), u"Grüße 안녕");
        SendMessageW(ItemHwnd(dialog, 10), BM_SETCHECK, BST_CHECKED, 0);
        EXPECT_EQ(dialog.IsDlgButtonChecked(10), BST_CHECKED);
        dialog.EndDialog(7);
    });
    PersonDialog dialog;
    EXPECT_EQ(dialog.DoModal(), 7);
    EXPECT_EQ(recorder.TemplateIds().size(), 1u);
}

TEST_F(WindowCoreTest, PostsFromOtherThreadsArriveInOrderAndNoneAfterTheWindowIsGone) {
    PostTarget target;
    ASSERT_TRUE(target.CreateBlank());
    std::vector<int> tasks;
    std::thread poster([&] {
        EXPECT_FALSE(ui::IsWindowThread());
        for (ui::WPARAM i = 0; i < 500; ++i) {
            ASSERT_TRUE(target.PostMessage(kPosted, i, 0));
            if (i % 100 == 0) ui::PostToWindowThread([&tasks, i] { tasks.push_back(static_cast<int>(i)); });
        }
        ui::Window::BeginWaitCursor();
    });
    poster.join();
    EXPECT_TRUE(Pump([&] { return target.seen.size() == 500 && tasks.size() == 5; }));
    for (size_t i = 0; i < target.seen.size(); ++i)
        ASSERT_EQ(target.seen[i], i);
    EXPECT_EQ(tasks, (std::vector<int>{0, 100, 200, 300, 400}));
    EXPECT_EQ(ui::test::WaitCursorCount(), 1);
    ui::Window::EndWaitCursor();

    target.seen.clear();
    EXPECT_TRUE(target.PostMessage(kPosted, 1, 0));
    target.DestroyWindow();
    bool postedAfter = true;
    std::thread([&] { postedAfter = target.PostMessage(kPosted, 2, 0); }).join();
    ui::test::ProcessEvents();
    EXPECT_FALSE(postedAfter);
    EXPECT_TRUE(target.seen.empty()) << "a message to a destroyed window is dropped";
    EXPECT_EQ(target.SendMessage(kPosted, 3, 0), 0);
    EXPECT_TRUE(target.seen.empty());
}

TEST_F(WindowCoreTest, AnObjectThatGoesFirstTakesItsWindowAndItsChildrensWindowsAlong) {
    PostTarget child;
    HWND parentHwnd = nullptr;
    HWND childHwnd = nullptr;
    {
        PostTarget parent;
        ASSERT_TRUE(parent.CreateBlank());
        ASSERT_TRUE(child.CreateBlank(&parent));
        parentHwnd = ui::HwndOf(parent);
        childHwnd = ui::HwndOf(child);
        parent.PostMessage(kPosted, 1, 0);
        child.PostMessage(kPosted, 2, 0);
    }
    EXPECT_FALSE(IsWindow(parentHwnd));
    EXPECT_FALSE(IsWindow(childHwnd));
    EXPECT_FALSE(child.IsWindow());
    EXPECT_EQ(child.GetParent(), nullptr);
    EXPECT_FALSE(child.PostMessage(kPosted, 3, 0));
    ui::test::ProcessEvents();
    EXPECT_TRUE(child.seen.empty()) << "nothing posted before reaches either object";
    EXPECT_TRUE(child.CreateBlank()) << "the object can have a window again";
}

TEST_F(WindowCoreTest, TimersAndNestedModalRunsEndInTheirOwnOrder) {
    PersonDialog outer;
    PersonDialog inner(&outer);
    std::vector<std::string> order;
    outer.onStep = [&](PersonDialog& d) {
        EXPECT_TRUE(d.KillTimer(kStepTimer));
        EXPECT_FALSE(d.KillTimer(kStepTimer)) << "no such timer runs any more";
        order.push_back("inner starts");
        order.push_back("inner returned " + std::to_string(inner.DoModal()));
    };
    inner.onStep = [&](PersonDialog& d) {
        if (d.timers.empty()) {
            d.SetTimer(7, 15);
            return;
        }
        EXPECT_FALSE(outer.IsWindowEnabled()) << "the owner is disabled during the inner run";
        outer.EndDialog(11);
        d.EndDialog(22);
    };
    order.push_back("outer returned " + std::to_string(outer.DoModal()));
    EXPECT_EQ(order, (std::vector<std::string>{"inner starts", "inner returned 22", "outer returned 11"}));
    ASSERT_FALSE(inner.timers.empty());
    EXPECT_EQ(inner.timers.front(), 7u);
    EXPECT_EQ(inner.destroyed, 1);
    EXPECT_EQ(outer.destroyed, 1);
}

TEST_F(WindowCoreTest, ATopLevelWindowsRectangleIsItsClientAreaWithTheMenuBarAbove) {
    struct Case {
        int templateId;
        bool menu;
    };
    for (const Case& c : {Case{102, true}, Case{platform_test::kModal.id, false}}) {
        SCOPED_TRACE(c.templateId);
        ui::test::ModalRecorder recorder([&](ui::Dialog& dialog) {
            EXPECT_EQ(dialog.GetMenu() != nullptr, c.menu);
            ui::RECT window;
            ui::RECT client;
            dialog.GetWindowRect(window);
            dialog.GetClientRect(client);
            ui::RECT local = window;
            dialog.ScreenToClient(local);
            EXPECT_EQ(local.left, 0);
            EXPECT_EQ(local.right, client.right);
            EXPECT_EQ(local.bottom, client.bottom);
            EXPECT_EQ(local.top < 0, c.menu) << "the menu bar lies above the client area";
            const int menuHeight = -local.top;
            dialog.MoveWindow(40, 30, 500, 400);
            dialog.GetWindowRect(window);
            EXPECT_EQ(window.left, 40);
            EXPECT_EQ(window.top, 30);
            EXPECT_EQ(window.Width(), 500);
            EXPECT_EQ(window.Height(), 400);
            dialog.SetClientSize(300, 200);
            dialog.GetClientRect(client);
            dialog.GetWindowRect(window);
            EXPECT_EQ(client.Width(), 300);
            EXPECT_EQ(client.Height(), 200);
            EXPECT_EQ(window.Height(), 200 + menuHeight);
            ui::Menu* system = dialog.GetSystemMenu();
            ASSERT_NE(system, nullptr);
            const int items = system->GetMenuItemCount();
            system->AppendMenu(MF_STRING, 0x10, u"About");
            EXPECT_EQ(system->GetMenuItemCount(), items + 1);
            EXPECT_EQ(system->GetMenuItemID(items), 0x10);
            EXPECT_EQ(system->GetMenuString(items), u"About");
            dialog.EndDialog(IDCANCEL);
        });
        ui::Dialog dialog(c.templateId == 102 ? *res::FindDialog(102) : platform_test::kModal);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
}

// Each records its PostNcDestroy in a shared order.
template <class Base>
class Recorded : public Base {
public:
    template <class... Args>
    Recorded(std::vector<std::string>& order, std::string name, Args&&... args)
        : Base(std::forward<Args>(args)...), m_order(order), m_name(std::move(name)) {}

protected:
    void PostNcDestroy() override { m_order.push_back(m_name); }

private:
    std::vector<std::string>& m_order;
    std::string m_name;
};

class PaintedButton : public Recorded<ui::Button> {
public:
    explicit PaintedButton(std::vector<std::string>& order) : Recorded(order, "button") {
        MapPaint(&PaintedButton::OnPaint);
    }
    int paints = 0;

private:
    void OnPaint(ui::Painter& painter) {
        ++paints;
        ui::RECT client;
        GetClientRect(client);
        painter.FillRect(client, RGB(200, 0, 0));
    }
};

class Page : public Recorded<ui::PropertyPage> {
public:
    explicit Page(std::vector<std::string>& order)
        : Recorded(order, "page", platform_test::kPage), button(order) {}
    PaintedButton button;

    std::vector<int> commands;

protected:
    void DoDataExchange(ui::DataExchange& dx) override { ui::DDX_Control(dx, 80, button); }
    void OnOK() override { commands.push_back(IDOK); }
    void OnCancel() override { commands.push_back(IDCANCEL); }
};

TEST_F(WindowCoreTest, APagePaintsItsControlsAndGoesWithItsParentChildrenFirst) {
    std::vector<std::string> order;
    Recorded<ui::Window> parent(order, "parent");
    Page page(order);
    ASSERT_TRUE(parent.CreateBlank());
    parent.SetClientSize(400, 300);
    ASSERT_TRUE(page.Create(&parent));
    EXPECT_FALSE(page.Create(&parent)) << "the page exists already";
    EXPECT_EQ(page.GetParent(), &parent);
    const ui::RECT placed{20, 30, 320, 230};
    page.MoveWindow(placed);
    page.ShowWindow(SW_SHOW);
    parent.ShowWindow(SW_SHOW);
    ui::RECT rect;
    page.GetWindowRect(rect);
    parent.ScreenToClient(rect);
    EXPECT_EQ(std::vector<int>({rect.left, rect.top, rect.right, rect.bottom}),
              std::vector<int>({placed.left, placed.top, placed.right, placed.bottom}));

    page.button.Invalidate();
    page.button.UpdateWindow();
    EXPECT_GT(page.button.paints, 0);
    HWND button = ui::HwndOf(page.button);
    HDC dc = GetDC(button);
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(200, 0, 0)) << "the handler painted the whole control";
    ReleaseDC(button, dc);

    parent.DestroyWindow();
    EXPECT_EQ(order, (std::vector<std::string>{"button", "page", "parent"}));
    EXPECT_FALSE(page.IsWindow());
    EXPECT_FALSE(page.button.IsWindow());
}

TEST_F(WindowCoreTest, EnterAndEscapeInAPageAreThePagesOwnCommands) {
    std::vector<std::string> order;
    Page page(order);
    ui::test::ModalRecorder recorder([&](ui::Dialog& dialog) {
        ASSERT_TRUE(page.Create(&dialog));
        page.ShowWindow(SW_SHOW);
        dialog.ShowWindow(SW_SHOW);
        SetForegroundWindow(ui::HwndOf(dialog));
        page.GetDlgItem(11)->SetFocus();
        ASSERT_TRUE(Pump([&] { return ui::Window::GetFocus() == page.GetDlgItem(11); }));
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(Pump([&] { return page.commands.size() == 2; }));
        dialog.EndDialog(5);
    });
    ui::Dialog dialog(platform_test::kModal);
    EXPECT_EQ(dialog.DoModal(), 5) << "the dialog did not end on the page's keys";
    EXPECT_EQ(page.commands, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_FALSE(page.IsWindow());
}

}  // namespace
