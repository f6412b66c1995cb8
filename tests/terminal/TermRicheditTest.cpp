#include "terminal/TermRichedit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <atomic>
#include <string>
#include <vector>

#include "platform/DataExchange.h"
#include "platform/PropertyPage.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"
#include "tests/support/PtyPair.h"
#include "tests/support/UserInput.h"
#include "tests/terminal/TerminalLinuxHelpers.h"
#include "tests/terminal/TerminalTestHost.h"

namespace {

using namespace std::chrono_literals;
using terminal_test::HostDialog;
using terminal_test::PressKey;
using terminal_test::WaitFor;

constexpr int kViewId = 1075;

const res::ControlTemplate kControls[] = {
    {kViewId, res::ControlClass::RichEdit, {u"", u""}, 0x50810084, 0, {2, 6, 304, 179}, {}},
};
const res::DialogTemplate kTemplate{
    0, {u"", u""}, u"MS Shell Dlg", 8, 310, 190, ui::WS_CHILD | ui::WS_VISIBLE, 0, 0, kControls};

class ViewPage : public ui::PropertyPage {
public:
    ViewPage() : ui::PropertyPage(kTemplate) {}
    TermRichedit view;

protected:
    void DoDataExchange(ui::DataExchange& dx) override { ui::DDX_Control(dx, kViewId, view); }
    bool OnInitDialog() override {
        ui::PropertyPage::OnInitDialog();
        view.SetupView();
        return true;
    }
};

std::u16string Shown(const TermRichedit& view) {
    return ui::FromQString(qobject_cast<QPlainTextEdit*>(ui::QWidgetOf(view))->toPlainText());
}

// The view in a host window; with `open`, its channel is open on a
// pseudo-terminal whose master side plays the device.
struct ViewFixture {
    ViewPage page;
    TermRichedit& view = page.view;
    tarnel::test::PtyPair pty;
    std::atomic<int> errors{0};

    void Open() {
        ASSERT_FALSE(view.m_channel->Open(pty.SlavePath(), 115200, 8, 0, 0, 0));
        view.m_executor.Start(1);
    }
    void Close() {
        view.m_channel->Close();
        view.m_executor.Stop();
    }
};

void WithView(bool open, const std::function<void(ViewFixture&)>& body) {
    ViewFixture f;
    f.view.m_onError = [&f](const TermRichedit* source, std::error_code& error) {
        if (source == &f.view && error) ++f.errors;
    };
    terminal_test::WithHostWindow([&](HostDialog& host) {
        ASSERT_TRUE(f.page.Create(&host));
        host.Hold(f.page);
        f.page.ShowWindow(ui::SW_SHOW);
        if (open) f.Open();
        body(f);
        if (open) f.Close();
    });
}

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values)
        bytes.push_back(static_cast<char>(v));
    return bytes;
}

struct ReceiveCase {
    const char* name;
    // Each piece is sent once the view shows what the pieces before it give.
    std::vector<std::string> pieces;
    std::vector<std::u16string> shownAfter;
};

TEST(TermRichedit, ReceivedBytesShowTheSameTextHoweverTheyAreSplit) {
    const std::vector<ReceiveCase> cases = {
        {"euro split over two reads", {"x" + Bytes({0xE2, 0x82}), Bytes({0xAC}) + "y"}, {u"x", u"x\u20ACy"}},
        {"ill-formed byte", {Bytes({0x41, 0xFF, 0x42})}, {u"A\uFFFDB"}},
        {"cut-off sequence then ascii", {"x" + Bytes({0xE2, 0x82}), "y"}, {u"x", u"x\uFFFDy"}},
        {"nul bytes dropped, the rest kept", {Bytes({0x41, 0x00, 0x42, 0x00})}, {u"AB"}},
        {"CR LF split over two reads", {"x\r", "\ny"}, {u"x\n", u"x\ny"}},
        {"lone LF after a shown CR LF", {"x\r\n", "\ny"}, {u"x\n", u"x\n\ny"}},
    };
    WithView(true, [&](ViewFixture& f) {
        for (const ReceiveCase& c : cases) {
            f.view.ClearView();
            for (std::size_t i = 0; i < c.pieces.size(); ++i) {
                f.pty.Send(c.pieces[i]);
                EXPECT_TRUE(WaitFor([&] { return Shown(f.view) == c.shownAfter[i]; }))
                    << c.name << " piece " << i << " shows " << ui::ToQString(Shown(f.view)).toStdString();
            }
        }
    });
}

// Reads that come within a frame of the last insertion wait for the frame's
// end; none is lost or shown out of order, wherever the frames fall.
TEST(TermRichedit, PiecesArrivingFasterThanFramesAreAllShownInOrder) {
    WithView(true, [](ViewFixture& f) {
        QString expected;
        for (int i = 0; i < 60; ++i) {
            const std::string piece = "piece " + std::to_string(i) + "\r\n";
            f.pty.Send(piece);
            expected += QString::fromStdString(piece).replace("\r\n", "\n");
            QCoreApplication::processEvents();
        }
        EXPECT_TRUE(WaitFor([&] { return Shown(f.view) == ui::FromQString(expected); }))
            << ui::ToQString(Shown(f.view)).toStdString();
    });
}

std::string NumberedLines(int first, int count, int lineLength) {
    std::string bytes;
    for (int i = first; i < first + count; ++i) {
        std::string line = "L" + std::to_string(i) + ":";
        line.resize(static_cast<std::size_t>(lineLength), '.');
        bytes += line + "\r\n";
    }
    return bytes;
}

TEST(TermRichedit, FullViewLosesWholeOldestLinesOnly) {
    WithView(true, [](ViewFixture& f) {
        // 320 lines of 99 characters and a line break: 32,000 characters.
        f.pty.Send(NumberedLines(0, 320, 99));
        ASSERT_TRUE(WaitFor([&] { return f.view.GetTextLength() == 32000; }));
        f.pty.Send(NumberedLines(320, 10, 99));
        ASSERT_TRUE(
            WaitFor([&] { return Shown(f.view).ends_with(u"L329:" + std::u16string(94, u'.') + u"\n"); }));

        const long length = f.view.GetTextLength();
        EXPECT_LE(length, ui::RichEditCtrl::kDefaultLimit);
        // No line more than needed was deleted.
        EXPECT_GT(length, ui::RichEditCtrl::kDefaultLimit - 100);
        const QStringList lines = ui::ToQString(Shown(f.view)).split('\n', Qt::SkipEmptyParts);
        const int firstShown = 330 - static_cast<int>(lines.size());
        for (int i = 0; i < lines.size(); ++i) {
            ASSERT_TRUE(lines[i].startsWith(QString("L%1:").arg(firstShown + i))) << lines[i].toStdString();
            ASSERT_EQ(lines[i].size(), 99);
        }
    });
}

TEST(TermRichedit, TextLongerThanTheLimitShowsItsNewestCharacters) {
    WithView(false, [](ViewFixture& f) {
        f.view.AppendText(u"old line\r\n");
        std::u16string text;
        for (int i = 0; text.size() < 40000; ++i)
            text += u"line " + std::u16string(1, u'a' + i % 26) + u"\r\n";
        f.view.AppendText(text);

        ASSERT_EQ(f.view.GetTextLength(), ui::RichEditCtrl::kDefaultLimit);
        std::u16string expected = ui::FromQString(ui::ToQString(text).replace("\r\n", "\n"));
        expected = expected.substr(expected.size() - ui::RichEditCtrl::kDefaultLimit);
        EXPECT_EQ(Shown(f.view), expected);
    });
}

// One batch several times longer than the view (a flood read within one
// frame): the view shows its newest characters, NUL bytes not counted.
TEST(TermRichedit, BatchFarLongerThanTheViewShowsItsNewestCharacters) {
    std::string lines;
    for (int i = 0; lines.size() < 200000; ++i)
        lines += "line " + std::to_string(i) + " \xE2\x82\xAC\r\n";
    const std::vector<std::string> batches = {lines, lines + std::string(150000, '\0'),
                                              "\xE2\x82" + lines.substr(1000)};
    WithView(true, [&](ViewFixture& f) {
        for (const std::string& batch : batches) {
            f.view.ClearView();
            std::error_code ok;
            f.view.OnRead(f.view.m_channel, ok, std::vector<uint8_t>(batch.begin(), batch.end()),
                          static_cast<unsigned>(batch.size()));
            QString expected = QString::fromUtf8(batch).remove(QChar(0)).replace("\r\n", "\n");
            expected = expected.right(ui::RichEditCtrl::kDefaultLimit);
            EXPECT_TRUE(WaitFor([&] { return Shown(f.view) == ui::FromQString(expected); }))
                << batch.size() << " bytes show " << Shown(f.view).size() << " characters";
        }
    });
}

// The control may refuse text that the view expected to fit (here: its limit
// was lowered behind the view's back); each retry makes room by one more
// line, at most ten times.
TEST(TermRichedit, RefusedInsertionIsRetriedWithRoomMadeLineByLine) {
    WithView(false, [](ViewFixture& f) {
        f.view.LimitText(200);
        for (int i = 0; i < 5; ++i)
            f.view.AppendText(std::u16string(29, u'a' + i) + u"\r\n");
        f.view.AppendText(std::u16string(100, u'z'));
        EXPECT_EQ(Shown(f.view), std::u16string(29, u'c') + u"\n" + std::u16string(29, u'd') + u"\n" +
                                     std::u16string(29, u'e') + u"\n" + std::u16string(100, u'z'));

        f.view.ClearView();
        for (int i = 0; i < 100; ++i)
            f.view.AppendText(u"x\r\n");
        f.view.AppendText(std::u16string(50, u'y'));
        // Ten retries delete ten lines; what the control then takes is shown.
        std::u16string expected;
        for (int i = 0; i < 90; ++i)
            expected += u"x\n";
        expected += std::u16string(20, u'y');
        EXPECT_EQ(Shown(f.view), expected);
    });
}

TEST(TermRichedit, AppendedTextIsWhiteOnBlackAndInView) {
    WithView(false, [](ViewFixture& f) {
        for (int i = 0; i < 300; ++i)
            f.view.AppendText(u"line\r\n");
        auto* edit = qobject_cast<QPlainTextEdit*>(ui::QWidgetOf(f.view));
        EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(0, 0, 0));
        QTextCursor cursor(edit->document());
        cursor.movePosition(QTextCursor::End);
        EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(255, 255, 255));
        const auto atEnd = [&] {
            ui::SCROLLINFO info;
            return f.view.GetScrollInfo(ui::SB_VERT, info) && info.nMax > static_cast<int>(info.nPage) &&
                   info.nPos >= info.nMax - static_cast<int>(info.nPage) + 1;
        };
        EXPECT_TRUE(atEnd());

        // Scrolled back by the user: the newest text is brought into view.
        edit->verticalScrollBar()->setValue(0);
        ASSERT_FALSE(atEnd());
        f.view.AppendText(u"newest\r\n");
        EXPECT_TRUE(atEnd());
        EXPECT_TRUE(Shown(f.view).ends_with(u"line\nnewest\n"));
    });
}

struct KeyCase {
    const char* name;
    bool cr;
    bool lf;
    int key;
    std::u16string text;
    std::string sent;
    std::u16string shown;  // after "ab" was received
};

TEST(TermRichedit, TypedKeysGoToThePortAtOnce) {
    const std::vector<KeyCase> cases = {
        {"character", true, false, Qt::Key_Q, u"q", "q", u"abq"},
        {"hangul", true, false, 0, u"\uD55C", Bytes({0xED, 0x95, 0x9C}), u"ab\uD55C"},
        {"outside the basic plane", true, false, 0, u"\U0001F600", Bytes({0xF0, 0x9F, 0x98, 0x80}),
         u"ab\U0001F600"},
        {"Enter with CR", true, false, Qt::Key_Return, u"\r", "\r", u"ab\n"},
        {"Enter with LF", false, true, Qt::Key_Return, u"\r", "\n", u"ab\n"},
        {"Enter with CR LF", true, true, Qt::Key_Return, u"\r", "\r\n", u"ab\n"},
        {"Enter with no line end", false, false, Qt::Key_Return, u"\r", "", u"ab"},
        {"Backspace", true, false, Qt::Key_Backspace, u"\b", "", u"ab"},
        {"Delete", true, false, Qt::Key_Delete, u"\x7f", "", u"ab"},
        {"Left", true, false, Qt::Key_Left, u"", "", u"ab"},
        {"Up", true, false, Qt::Key_Up, u"", "", u"ab"},
        {"Right", true, false, Qt::Key_Right, u"", "", u"ab"},
        {"Down", true, false, Qt::Key_Down, u"", "", u"ab"},
    };
    WithView(true, [&](ViewFixture& f) {
        for (const KeyCase& c : cases) {
            f.view.ClearView();
            f.pty.Send("ab");
            ASSERT_TRUE(WaitFor([&] { return Shown(f.view) == u"ab"; })) << c.name;
            // The caret is put back at the end before the key takes effect.
            f.view.SetSel(0, 1);
            f.view.m_lineEndCR = c.cr;
            f.view.m_lineEndLF = c.lf;
            PressKey(ui::QWidgetOf(f.view), c.key, c.text);
            if (c.sent.empty()) {
                EXPECT_EQ(f.pty.ReceiveIdle(300ms), "") << c.name;
            } else {
                EXPECT_EQ(f.pty.Receive(c.sent.size(), 5s), c.sent) << c.name;
            }
            EXPECT_EQ(Shown(f.view), c.shown) << c.name;
        }
    });
}

TEST(TermRichedit, EchoIntoAFullViewMakesRoomByWholeLines) {
    WithView(true, [](ViewFixture& f) {
        for (int i = 0; i < 330; ++i)
            f.view.AppendText(std::u16string(98, u'x') + u"\r\n");
        f.view.AppendText(std::u16string(97, u'y'));
        ASSERT_EQ(f.view.GetTextLength(), ui::RichEditCtrl::kDefaultLimit);

        PressKey(ui::QWidgetOf(f.view), Qt::Key_Q, u"q");
        EXPECT_EQ(f.pty.Receive(1, 5s), "q");
        EXPECT_EQ(f.view.GetTextLength(), ui::RichEditCtrl::kDefaultLimit - 99 + 1);
        EXPECT_TRUE(Shown(f.view).ends_with(u"x\n" + std::u16string(97, u'y') + u"q"));
    });
}

TEST(TermRichedit, KeysWhileClosedAreNeitherSentLaterNorShown) {
    WithView(false, [](ViewFixture& f) {
        PressKey(ui::QWidgetOf(f.view), Qt::Key_Q, u"q");
        PressKey(ui::QWidgetOf(f.view), Qt::Key_Return, u"\r");
        EXPECT_EQ(Shown(f.view), u"");
        f.Open();
        EXPECT_EQ(f.pty.ReceiveIdle(300ms), "");
        f.Close();
    });
}

TEST(TermRichedit, InputMethodResultIsSentAndNotInserted) {
    WithView(true, [](ViewFixture& f) {
        QInputMethodEvent composing(QStringLiteral("\u314E"), {});
        QCoreApplication::sendEvent(ui::QWidgetOf(f.view), &composing);
        QInputMethodEvent result;
        result.setCommitString(QStringLiteral("\uD55C"));
        QCoreApplication::sendEvent(ui::QWidgetOf(f.view), &result);
        EXPECT_EQ(f.pty.Receive(3, 5s), Bytes({0xED, 0x95, 0x9C}));
        EXPECT_EQ(Shown(f.view), u"");

        f.Close();
        QCoreApplication::sendEvent(ui::QWidgetOf(f.view), &result);
        f.Open();
        EXPECT_EQ(f.pty.ReceiveIdle(300ms), "");
    });
}

// What an input method shows inline in the view's last line while composing.
QString Composition(const TermRichedit& view) {
    const QTextBlock last = qobject_cast<QPlainTextEdit*>(ui::QWidgetOf(view))->document()->lastBlock();
    return last.layout()->preeditAreaText();
}

// A Korean user composes a syllable in the focused view: the composition is
// shown where the next character goes, at the end, and only its result is
// sent; the device's echo, not the view, shows it afterwards.
TEST(TermRichedit, CompositionIsShownAtTheEndAndOnlyItsResultIsSent) {
    WithView(true, [](ViewFixture& f) {
        f.pty.Send("ab");
        ASSERT_TRUE(WaitFor([&] { return Shown(f.view) == u"ab"; }));
        f.view.SetSel(0, 1);
        f.view.SetFocus();
        ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == ui::QWidgetOf(f.view); }));
        const QTextBlock last = qobject_cast<QPlainTextEdit*>(ui::QWidgetOf(f.view))->document()->lastBlock();

        for (const QString& composing : {QStringLiteral("\u314E"), QStringLiteral("\uD558")}) {
            QInputMethodEvent event(composing, {});
            QCoreApplication::sendEvent(QApplication::focusWidget(), &event);
            EXPECT_EQ(Composition(f.view), composing);
            EXPECT_EQ(last.layout()->preeditAreaPosition(), 2) << "after the received text";
        }
        EXPECT_EQ(Shown(f.view), u"ab");
        EXPECT_EQ(f.pty.ReceiveIdle(200ms), "") << "nothing is sent while composing";

        QInputMethodEvent result;
        result.setCommitString(QStringLiteral("\uD55C"));
        QCoreApplication::sendEvent(QApplication::focusWidget(), &result);
        EXPECT_EQ(f.pty.Receive(3, 5s), Bytes({0xED, 0x95, 0x9C}));
        EXPECT_EQ(Composition(f.view), QString());
        EXPECT_EQ(Shown(f.view), u"ab");
    });
}

// The entries of the view's context menu, opened by a right click, without
// their mnemonics and shortcuts.
QStringList ContextMenuEntries(TermRichedit& view) {
    QStringList entries;
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator()) entries << action->text().remove(u'&').section(u'\t', 0, 0);
        }
        menu->close();
    });
    reader.start(10);
    tarnel::test::ClickOn(view, {-1, -1}, Qt::RightButton);
    WaitFor([&] { return !entries.isEmpty() && QApplication::activePopupWidget() == nullptr; });
    return entries;
}

// Received text is never edited by the user: the menu offers no editing,
// and no way of pasting inserts anything. Ctrl+V is a typed control
// character (0x16) and goes to the port as every typed key does. (A middle
// click pastes only where the platform has a selection clipboard, as X11
// has; the offscreen platform has none.)
TEST(TermRichedit, ReceivedTextIsNeitherEditedFromTheMenuNorPastedInto) {
    WithView(true, [](ViewFixture& f) {
        f.pty.Send("ab");
        ASSERT_TRUE(WaitFor([&] { return Shown(f.view) == u"ab"; }));
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        if (QGuiApplication::clipboard()->supportsSelection())
            QGuiApplication::clipboard()->setText(QStringLiteral("pasted"), QClipboard::Selection);
        tarnel::test::ClickOn(f.view);
        ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == ui::QWidgetOf(f.view); }));

        tarnel::test::PressKey(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(f.pty.Receive(1, 5s), "\x16");
        tarnel::test::PressKey(Qt::Key_Insert, Qt::ShiftModifier);
        tarnel::test::ClickOn(f.view, {-1, -1}, Qt::MiddleButton);
        EXPECT_EQ(f.pty.ReceiveIdle(300ms), "");
        EXPECT_EQ(Shown(f.view), u"ab");

        EXPECT_EQ(ContextMenuEntries(f.view).join(u'|').toStdString(), "Copy|Select All");
    });
}

TEST(TermRichedit, ReadErrorReachesTheErrorCallback) {
    WithView(true, [](ViewFixture& f) {
        f.pty.Unplug();
        EXPECT_TRUE(WaitFor([&] { return f.errors.load() > 0; }));
    });
}

}  // namespace
