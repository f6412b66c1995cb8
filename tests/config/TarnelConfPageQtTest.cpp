// The page's checks that look at Qt itself (pixels, the table widget, the
// override cursor) or open a pseudo-terminal of their own.

#include "config/TarnelConfPage.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPalette>
#include <QStringList>
#include <QTableWidget>

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>

#include "platform/Edit.h"
#include "platform/Language.h"
#include "platform/ListCtrl.h"
#include "platform/TestHooks.h"
#include "platform/qt/WindowAccess.h"
#include "tests/config/ConfPageFixtures.h"
#include "tests/support/PtyPair.h"
#include "tests/support/TextFit.h"
#include "tests/support/UserInput.h"

namespace {

using namespace std::chrono_literals;
using tarnel::sim::ModuleState;
using tarnel::test::ConfPageHarness;
using tarnel::test::SearchConfig;
using tarnel::test::TarnelConfPageSearch;
using P = TarnelConfPage;
using Clock = std::chrono::steady_clock;

// Clicks the middle of a row's first cell, as a person picks a found device.
void ClickRow(ConfPageHarness& h, int row) {
    auto* table = qobject_cast<QTableWidget*>(ui::QWidgetOf(h.Get<ui::ListCtrl>(P::IDC_RESULT_LIST)));
    const QRect cell = table->visualItemRect(table->item(row, 0));
    EXPECT_EQ(tarnel::test::ClickOn(*table->viewport(), cell.center()), table->viewport());
}

// The colour that most of a control's inside shows on the screen.
QRgb Background(QWidget& control) {
    const QImage image = control.grab().toImage();
    std::map<QRgb, int> counts;
    for (int y = 3; y < image.height() - 3; ++y) {
        for (int x = 3; x < image.width() - 3; ++x)
            ++counts[image.pixel(x, y)];
    }
    return std::ranges::max_element(counts, {}, [](const auto& entry) { return entry.second; })->first;
}

// With the device list's columns as the page sets them: all four show
// beside a vertical scroll bar, and every text is whole.
TEST(TarnelConfPageControls, EveryTextAndListColumnShowsWholeInBothLanguages) {
    for (ui::Language language : {ui::Language::English, ui::Language::Korean}) {
        SCOPED_TRACE(language == ui::Language::Korean ? "Korean" : "English");
        ui::SetUiLanguage(language);
        ConfPageHarness h;
        const QStringList cut = tarnel::test::CutTexts(*ui::QWidgetOf(h.page));
        EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
    }
    ui::SetUiLanguage(ui::Language::English);
}

bool PointerBusy() {
    const QCursor* cursor = QApplication::overrideCursor();
    return ui::test::WaitCursorCount() > 0 || (cursor != nullptr && cursor->shape() == Qt::WaitCursor);
}

// The user is meant to pick rows or click Stop while the module searches, so
// the polls that collect its reports leave the pointer alone; starting and
// stopping are waited for.
TEST_F(TarnelConfPageSearch, ThePointerIsBusyOnlyWhileTheUserWaits) {
    ASSERT_NO_FATAL_FAILURE(OpenIdle(SearchConfig(30000ms)));
    H().Click(P::IDC_SEARCH);
    EXPECT_TRUE(PointerBusy());
    ASSERT_TRUE(WaitSearching());
    int busySamples = 0;
    int samples = 0;
    H().WaitFor(
        [&] {
            ++samples;
            busySamples += PointerBusy() ? 1 : 0;
            return H().Get<ui::ListCtrl>(P::IDC_RESULT_LIST).GetItemCount() == 2;
        },
        20s);
    H().Settle(500ms);
    EXPECT_EQ(busySamples, 0) << "of " << samples;
    EXPECT_FALSE(PointerBusy());

    H().Click(P::IDC_SEARCH);
    EXPECT_TRUE(H().WaitFor(PointerBusy));
    ASSERT_TRUE(H().WaitIdle());
    H().Settle(300ms);
    EXPECT_FALSE(PointerBusy());
}

TEST_F(TarnelConfPageSearch, TakesASelectedDeviceAsTheTarget) {
    ASSERT_NO_FATAL_FAILURE(OpenIdle(SearchConfig(3200ms)));
    H().Click(P::IDC_SEARCH);
    ASSERT_TRUE(H().WaitForBox(116));
    ASSERT_TRUE(H().WaitIdle());

    H().Click(P::IDC_TAKE_TARGET);
    EXPECT_EQ(H().BoxIds().back(), 112);
    EXPECT_EQ(H().StyleOf(112), ui::MB_ICONERROR);

    auto& target = H().Get<ui::Edit>(P::IDC_TARGET);
    const QRgb editable = Background(*ui::QWidgetOf(target));
    ClickRow(H(), 1);
    H().Click(P::IDC_TAKE_TARGET);
    EXPECT_EQ(target.GetWindowText(), u"74E543B019C7");
    EXPECT_TRUE(target.IsReadOnly());
    // Read-only looks it: the greyed face of the page, not an edit's white.
    const QRgb readOnly = Background(*ui::QWidgetOf(target));
    EXPECT_NE(readOnly, editable);
    EXPECT_EQ(readOnly, ui::QWidgetOf(H().page)->palette().color(QPalette::Window).rgb());

    H().Click(P::IDC_CLEAR_TARGET);
    EXPECT_EQ(target.GetWindowText(), u"");
    EXPECT_FALSE(target.IsReadOnly());
    EXPECT_EQ(Background(*ui::QWidgetOf(target)), editable);
}

// The page is seen between the click on Stop and the cancel's answer. A
// click on Win32 returns once every pending message is handled, the result
// of the poll that ran before the click among them, whose next poll waits on
// the worker until the cancel is over: there the page is seen after it.
TEST_F(TarnelConfPageSearch, StopSearchCancelsTheInquiryAndReadsAgain) {
    ASSERT_NO_FATAL_FAILURE(OpenIdle(SearchConfig(30000ms)));
    H().Click(P::IDC_SEARCH);
    ASSERT_TRUE(WaitRows(2));
    H().Click(P::IDC_SEARCH);
    EXPECT_FALSE(H().Enabled(P::IDC_SEARCH));
    EXPECT_EQ(H().Text(P::IDC_SEARCH), u"Stop search");
    ASSERT_TRUE(H().WaitFor([&] { return H().Text(P::IDC_SEARCH) == u"Search device"; }));
    ASSERT_TRUE(H().WaitIdle());
    EXPECT_EQ(H().CommandCount("AT+OPCANCEL"), 1);
    EXPECT_EQ(H().module.Snapshot().state, ModuleState::Idle);
    EXPECT_EQ(H().Get<ui::ListCtrl>(P::IDC_RESULT_LIST).GetItemCount(), 2);
    EXPECT_TRUE(H().BoxIds().empty());

    // A new search starts from an empty list.
    H().Click(P::IDC_SEARCH);
    EXPECT_EQ(H().Get<ui::ListCtrl>(P::IDC_RESULT_LIST).GetItemCount(), 0);
    ASSERT_TRUE(WaitSearching());
}

// The port fails just as it opens, before the page has numbered the opening:
// the error is this opening's all the same. The hang-up may also come before
// the open call has set the line up, and the open then fails by itself (its
// caller says so); only a round whose open succeeded shows the page's part.
TEST(TarnelConfPagePort, APortThatFailsAsItOpensGivesMessage106) {
    for (int round = 0; round < 50; ++round) {
        ConfPageHarness h;
        tarnel::test::PtyPair pty;
        // Opened and closed once, the master reports a hang-up until the slave
        // is opened again.
        close(open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY));
        std::thread puller([&] {
            const auto deadline = Clock::now() + 10s;
            pollfd p{pty.MasterFd(), POLLIN, 0};
            while (Clock::now() < deadline && poll(&p, 1, 0) >= 0 && (p.revents & POLLHUP) != 0) {
            }
            // Later rounds leave the open a little longer, so that on a slow
            // or busy machine some round still gets past setting the line up.
            const auto unplugAt = Clock::now() + round * 20us;
            while (Clock::now() < unplugAt) {
            }
            pty.Unplug();
        });
        const std::u16string port(pty.SlavePath().begin(), pty.SlavePath().end());
        const std::error_code error = h.page.OpenPort(port, 9600, 0, 0, 0, 8);
        puller.join();
        if (error) {
            EXPECT_FALSE(h.page.IsPortOpen());
            continue;
        }
        EXPECT_TRUE(h.WaitForBox(106));
        ASSERT_TRUE(h.WaitFor([&] { return h.mainWindow.SetupRequests() == 1; }));
        EXPECT_FALSE(h.page.IsPortOpen());
        return;
    }
    FAIL() << "no open got past setting the line up before the hang-up";
}

TEST(TarnelConfPagePort, OpeningAMissingPortFailsAndChangesNothing) {
    ConfPageHarness h;
    EXPECT_TRUE(h.page.OpenPort(u"/dev/tarnel-no-such-port", 9600, 0, 0, 0, 8));
    EXPECT_FALSE(h.page.IsPortOpen());
    EXPECT_EQ(ui::test::WaitCursorCount(), 0);
    h.Settle(100ms);
    EXPECT_TRUE(h.BoxIds().empty());
}

}  // namespace
