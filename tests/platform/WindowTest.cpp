#include "platform/Window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/PropertyPage.h"
#include "platform/TestHooks.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using ui::LPARAM;
using ui::LRESULT;
using ui::UINT;
using ui::WPARAM;

constexpr UINT WM_TEST = ui::WM_APP + 0x10;
constexpr UINT WM_OTHER = ui::WM_APP + 0x11;

bool Wait(const std::function<bool()>& condition) {
    return tarnel::test::WaitUntil(condition, 10s, [] { ui::test::ProcessEvents(); });
}

// Records the messages it is given.
class Recorder : public ui::Window {
public:
    Recorder() {
        MapMessage(WM_TEST, &Recorder::OnTest);
        MapMessage(WM_OTHER, &Recorder::OnOther);
        MapTimer(&Recorder::OnTimer);
    }
    std::vector<std::pair<UINT, WPARAM>> got;
    std::vector<UINT> timers;
    std::function<void()> onTest;

private:
    LRESULT OnTest(WPARAM w, LPARAM l) {
        got.emplace_back(WM_TEST, w);
        if (onTest) onTest();
        return l;
    }
    LRESULT OnOther(WPARAM w, LPARAM) {
        got.emplace_back(WM_OTHER, w);
        return 0;
    }
    void OnTimer(UINT id) { timers.push_back(id); }
};

TEST(WindowPosting, MessagesFromOneThreadArriveInPostingOrderAcrossMessageNumbers) {
    Recorder window;
    ASSERT_TRUE(window.CreateBlank());
    for (WPARAM i = 0; i < 200; ++i)
        EXPECT_TRUE(window.PostMessage(i % 3 == 0 ? WM_OTHER : WM_TEST, i));
    EXPECT_TRUE(window.got.empty()) << "posting does not run the handler at once";
    ASSERT_TRUE(Wait([&] { return window.got.size() == 200; }));
    for (WPARAM i = 0; i < 200; ++i)
        EXPECT_EQ(window.got[i].second, i);
}

TEST(WindowPosting, EachWorkerThreadKeepsItsOwnOrderAndNothingIsLost) {
    Recorder window;
    ASSERT_TRUE(window.CreateBlank());
    constexpr int kThreads = 4;
    constexpr WPARAM kEach = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&window, t] {
            for (WPARAM i = 0; i < kEach; ++i)
                window.PostMessage(WM_TEST, static_cast<WPARAM>(t) << 16 | i);
        });
    }
    for (auto& thread : threads)
        thread.join();
    ASSERT_TRUE(Wait([&] { return window.got.size() == kThreads * kEach; }));
    std::vector<WPARAM> next(kThreads, 0);
    for (const auto& [message, w] : window.got) {
        const auto thread = w >> 16;
        ASSERT_LT(thread, static_cast<WPARAM>(kThreads));
        EXPECT_EQ(w & 0xFFFF, next[thread]++) << "thread " << thread;
    }
}

TEST(WindowPosting, MessagesToADestroyedWindowAreDroppedAndPostingFails) {
    Recorder window;
    ASSERT_TRUE(window.CreateBlank());
    window.PostMessage(WM_TEST, 1);
    window.PostMessage(WM_TEST, 2);
    window.DestroyWindow();
    EXPECT_FALSE(window.IsWindow());
    EXPECT_FALSE(window.PostMessage(WM_TEST, 3));
    ui::test::ProcessEvents();
    ui::test::ProcessEvents();
    EXPECT_TRUE(window.got.empty());

    ASSERT_TRUE(window.CreateBlank()) << "the object can have a window again";
    window.PostMessage(WM_TEST, 4);
    ASSERT_TRUE(Wait([&] { return !window.got.empty(); }));
    EXPECT_EQ(window.got.size(), 1u);
    EXPECT_EQ(window.got[0].second, 4u) << "messages posted to the old window stay dropped";
}

TEST(WindowLifetime, AnObjectThatGoesFirstTakesItsWindowAndItsChildrensWindowsAlong) {
    Recorder child;
    {
        Recorder parent;
        ASSERT_TRUE(parent.CreateBlank());
        ASSERT_TRUE(child.CreateBlank(&parent));
        parent.PostMessage(WM_TEST, 1);
        child.PostMessage(WM_TEST, 2);
    }
    EXPECT_FALSE(child.IsWindow());
    EXPECT_EQ(child.GetParent(), nullptr);
    EXPECT_FALSE(child.PostMessage(WM_TEST, 3));
    ui::test::ProcessEvents();
    EXPECT_TRUE(child.got.empty()) << "nothing posted before reaches either object";
    EXPECT_TRUE(child.CreateBlank()) << "the object can have a window again";
}

TEST(WindowPosting, AHandlerThatDestroysItsWindowEndsDeliveryOfTheRest) {
    Recorder window;
    ASSERT_TRUE(window.CreateBlank());
    window.onTest = [&] { window.DestroyWindow(); };
    window.PostMessage(WM_TEST, 1);
    window.PostMessage(WM_TEST, 2);
    ASSERT_TRUE(Wait([&] { return !window.got.empty(); }));
    ui::test::ProcessEvents();
    EXPECT_EQ(window.got.size(), 1u);
}

TEST(WindowPosting, PostingWhileTheWindowIsDestroyedOnTheWindowThreadIsSafe) {
    for (int round = 0; round < 20; ++round) {
        Recorder window;
        ASSERT_TRUE(window.CreateBlank());
        std::atomic<bool> stop{false};
        std::atomic<int> accepted{0};
        std::thread poster([&] {
            while (!stop) {
                if (window.PostMessage(WM_TEST, 0)) ++accepted;
            }
        });
        ASSERT_TRUE(tarnel::test::WaitUntil([&] { return accepted > 10; }, 10s));
        window.DestroyWindow();
        stop = true;
        poster.join();
        const size_t handled = window.got.size();
        ui::test::ProcessEvents();
        EXPECT_EQ(window.got.size(), handled) << "nothing arrives after the window is gone";
    }
}

TEST(WindowSendMessage, RunsTheHandlerAtOnceAndReturnsItsResult) {
    Recorder window;
    EXPECT_EQ(window.SendMessage(WM_TEST, 1, 5), 0) << "no window, no handler";
    ASSERT_TRUE(window.CreateBlank());
    EXPECT_EQ(window.SendMessage(WM_TEST, 1, 5), 5);
    ASSERT_EQ(window.got.size(), 1u);
    EXPECT_EQ(window.SendMessage(ui::WM_APP + 0x99, 0, 7), 0) << "unmapped messages get the default";
}

TEST(WindowCommands, CommandsMatchIdAndNotificationCodeOverTheWhole16BitRange) {
    class Commands : public ui::Window {
    public:
        Commands() {
            MapCommand(57664, &Commands::OnAbout);
            MapCommand(1079, &Commands::OnDropDown, ui::CBN_DROPDOWN);
            MapCommandRange(32770, 32775, &Commands::OnRange);
        }
        std::vector<UINT> got;

    private:
        void OnAbout() { got.push_back(57664); }
        void OnDropDown() { got.push_back(1079); }
        void OnRange(UINT id) { got.push_back(id); }
    } window;
    ASSERT_TRUE(window.CreateBlank());
    window.SendMessage(ui::WM_COMMAND, 57664);
    window.SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(1079, ui::BN_CLICKED));
    window.SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(1079, ui::CBN_DROPDOWN));
    window.SendMessage(ui::WM_COMMAND, 32772);
    window.SendMessage(ui::WM_COMMAND, 32776);
    EXPECT_EQ(window.got, (std::vector<UINT>{57664, 1079, 32772}));
}

TEST(WindowTimers, ExpiriesArriveByIdUntilKilled) {
    Recorder window;
    EXPECT_FALSE(window.SetTimer(7, 10)) << "no window";
    ASSERT_TRUE(window.CreateBlank());
    ASSERT_TRUE(window.SetTimer(7, 5));
    ASSERT_TRUE(window.SetTimer(8, 5));
    ASSERT_TRUE(Wait([&] {
        return std::count(window.timers.begin(), window.timers.end(), 7u) >= 2 &&
               std::count(window.timers.begin(), window.timers.end(), 8u) >= 2;
    }));
    EXPECT_TRUE(window.KillTimer(7));
    EXPECT_FALSE(window.KillTimer(7)) << "killed already";
    EXPECT_FALSE(window.KillTimer(9)) << "never set";
    window.timers.clear();
    ASSERT_TRUE(Wait([&] { return std::count(window.timers.begin(), window.timers.end(), 8u) >= 3; }));
    EXPECT_EQ(std::count(window.timers.begin(), window.timers.end(), 7u), 0);
}

TEST(WindowTimers, AHandlerMayKillItsOwnTimerAndTimersEndWithTheWindow) {
    class SelfKilling : public ui::Window {
    public:
        SelfKilling() { MapTimer(&SelfKilling::OnTimer); }
        int count = 0;

    private:
        void OnTimer(UINT id) {
            ++count;
            KillTimer(id);
        }
    } window;
    ASSERT_TRUE(window.CreateBlank());
    ASSERT_TRUE(window.SetTimer(1, 1));
    ASSERT_TRUE(Wait([&] { return window.count == 1; }));
    ASSERT_TRUE(window.SetTimer(1, 1)) << "a killed timer can be set again";
    ASSERT_TRUE(Wait([&] { return window.count == 2; }));

    Recorder gone;
    ASSERT_TRUE(gone.CreateBlank());
    ASSERT_TRUE(gone.SetTimer(3, 1));
    gone.DestroyWindow();
    EXPECT_FALSE(gone.KillTimer(3));
    tarnel::test::WaitUntil([] { return false; }, 50ms, [] { ui::test::ProcessEvents(); });
    EXPECT_TRUE(gone.timers.empty());
}

TEST(WindowWaitCursor, OneCounterForAllThreadsThatNeverGoesBelowZero) {
    ASSERT_EQ(ui::test::WaitCursorCount(), 0);
    ui::Window::BeginWaitCursor();
    std::thread([] { ui::Window::BeginWaitCursor(); }).join();
    EXPECT_EQ(ui::test::WaitCursorCount(), 2);
    ASSERT_TRUE(Wait([] { return QApplication::overrideCursor() != nullptr; }));
    std::thread([] { ui::Window::EndWaitCursor(); }).join();
    ui::Window::EndWaitCursor();
    ui::Window::EndWaitCursor();
    EXPECT_EQ(ui::test::WaitCursorCount(), 0);
    ASSERT_TRUE(Wait([] { return QApplication::overrideCursor() == nullptr; }));
}

}  // namespace
