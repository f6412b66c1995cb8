#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/BoxRequests.h"
#include "platform/Language.h"
#include "platform/LoadString.h"
#include "platform/ServingWait.h"
#include "platform/TestHooks.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;

TEST(MessageBox, TheHookRecordsIdTextAndStyleAndAnswers) {
    ui::test::MessageBoxRecorder boxes;
    boxes.QueueAnswer(ui::IDCANCEL);
    EXPECT_EQ(ui::AfxMessageBox(128, ui::MB_OKCANCEL | ui::MB_ICONQUESTION), ui::IDCANCEL);
    EXPECT_EQ(ui::AfxMessageBox(u"Unable to open the COM port.: gone", ui::MB_OK | ui::MB_ICONERROR),
              ui::IDOK);
    const auto calls = boxes.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].stringId, 128);
    EXPECT_EQ(calls[0].text, ui::LoadString(128));
    EXPECT_FALSE(calls[0].text.empty());
    EXPECT_EQ(calls[0].style, 0x21u);
    EXPECT_TRUE(calls[0].fromWindowThread);
    EXPECT_EQ(calls[1].stringId, 0);
    EXPECT_EQ(calls[1].text, u"Unable to open the COM port.: gone");
    EXPECT_EQ(calls[1].style, 0x10u);
}

TEST(MessageBox, AWorkerBlocksUntilTheWindowThreadHasAnsweredIt) {
    ui::test::MessageBoxRecorder boxes(ui::IDCANCEL);
    std::atomic<int> answer{0};
    std::thread worker([&] { answer = ui::AfxMessageBox(125, ui::MB_OK); });
    ASSERT_TRUE(tarnel::test::WaitUntil([&] { return answer != 0; }, 10s, [] { ui::test::ProcessEvents(); }));
    worker.join();
    EXPECT_EQ(answer, ui::IDCANCEL);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_FALSE(boxes.Calls()[0].fromWindowThread);
    EXPECT_EQ(boxes.Calls()[0].stringId, 125);
}

// The configurator's shape: the worker holds the job mutex while its box is
// up, and the window thread closes the port, which needs that mutex.
TEST(MessageBox, TheWindowThreadWaitingOnALockServesTheBoxOfTheThreadHoldingIt) {
    ui::test::MessageBoxRecorder boxes;
    std::mutex jobMutex;
    std::atomic<bool> holding{false};
    std::atomic<int> answer{0};
    std::thread worker([&] {
        std::lock_guard lock(jobMutex);
        holding = true;
        answer = ui::AfxMessageBox(125, ui::MB_OK);
    });
    ASSERT_TRUE(tarnel::test::WaitUntil([&] { return holding.load(); }, 10s));
    {
        auto lock = ui::LockServing(jobMutex);
        EXPECT_TRUE(lock.owns_lock());
        EXPECT_EQ(answer, ui::IDOK) << "the box was answered before the lock was free";
    }
    worker.join();
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST(MessageBox, WaitServingAnswersBoxesUntilTheConditionHolds) {
    ui::test::MessageBoxRecorder boxes;
    std::atomic<int> shown{0};
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i) {
            ui::AfxMessageBox(u"box", ui::MB_ICONINFORMATION);
            ++shown;
        }
    });
    ui::WaitServing([&] { return shown == 3; });
    worker.join();
    EXPECT_EQ(boxes.Count(), 3u);
}

TEST(MessageBox, LockServingOffTheWindowThreadIsAPlainLock) {
    std::mutex mutex;
    std::thread other([&] {
        auto lock = ui::LockServing(mutex);
        EXPECT_TRUE(lock.owns_lock());
    });
    other.join();
}

// --- Closing boxes that are up ---------------------------------------------------------

TEST(MessageBox, AClosedBoxReturnsAsDismissedWhateverItsAnswerWouldHaveBeen) {
    ui::test::MessageBoxRecorder boxes(ui::IDOK);
    int upWhileHeld = 0;
    boxes.Hold(128, [&] {
        upWhileHeld = ui::test::OpenMessageBoxCount();
        ui::CloseMessageBoxes();
    });
    EXPECT_EQ(ui::AfxMessageBox(128, ui::MB_OKCANCEL | ui::MB_ICONQUESTION), ui::IDCANCEL);
    EXPECT_EQ(upWhileHeld, 1);
    EXPECT_EQ(ui::test::OpenMessageBoxCount(), 0);
    EXPECT_EQ(ui::AfxMessageBox(128, ui::MB_OKCANCEL | ui::MB_ICONQUESTION), ui::IDOK);
}

// Message 126 is short in Korean; its box must still show the whole caption.
TEST(MessageBox, ABoxIsAtLeastAsWideAsItsCaption) {
    for (ui::Language language : {ui::Language::English, ui::Language::Korean}) {
        ui::SetUiLanguage(language);
        int width = 0;
        int captionWidth = 0;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (box != nullptr) {
                QFont bold = box->font();
                bold.setBold(true);
                width = box->width();
                captionWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
            }
            ui::CloseMessageBoxes();
        });
        ui::AfxMessageBox(126, ui::MB_ICONINFORMATION);
        EXPECT_GT(captionWidth, 0);
        EXPECT_GE(width, captionWidth * 2);
    }
    ui::SetUiLanguage(ui::Language::English);
}

TEST(MessageBox, AShownBoxClosedWithoutTheHookReturnsAsDismissed) {
    QTimer::singleShot(0, [] { ui::CloseMessageBoxes(); });
    EXPECT_EQ(ui::AfxMessageBox(128, ui::MB_OKCANCEL | ui::MB_ICONQUESTION), ui::IDCANCEL);
    EXPECT_EQ(ui::test::OpenMessageBoxCount(), 0);
}

// The window thread's loop that shows the worker's box lies below the
// handler that closes it: the worker must not wait for that loop to return.
TEST(MessageBox, AWorkersBoxClosedWhileUpFreesTheWorkerAtOnce) {
    ui::test::MessageBoxRecorder boxes(ui::IDCANCEL);
    std::atomic<int> answer{0};
    bool workerFreedInside = false;
    boxes.Hold(125, [&] {
        ui::CloseMessageBoxes();
        workerFreedInside = tarnel::test::WaitUntil([&] { return answer != 0; }, 10s);
    });
    std::thread worker([&] { answer = ui::AfxMessageBox(125, ui::MB_OK); });
    ASSERT_TRUE(tarnel::test::WaitUntil([&] { return answer != 0; }, 10s, [] { ui::test::ProcessEvents(); }));
    worker.join();
    EXPECT_TRUE(workerFreedInside);
    EXPECT_EQ(answer, ui::IDOK);
}

TEST(MessageBox, AWorkersBoxClosedBeforeItIsShownIsNeverShown) {
    ui::test::MessageBoxRecorder boxes;
    std::atomic<int> answer{0};
    std::thread worker([&] { answer = ui::AfxMessageBox(128, ui::MB_OKCANCEL); });
    ui::BoxRequests::Instance().WaitForRequest(10s);
    ui::CloseMessageBoxes();
    worker.join();
    EXPECT_EQ(answer, ui::IDCANCEL);
    for (int i = 0; i < 3; ++i)
        ui::test::ProcessEvents();
    EXPECT_EQ(boxes.Count(), 0u);
}

}  // namespace
