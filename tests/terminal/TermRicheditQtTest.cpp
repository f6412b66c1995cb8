// The terminal view's checks that reach into Qt's widgets: palette and
// character colours, the scroll bar, input-method events, the context menu
// and the clipboard.

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
#include <string>

#include "platform/qt/WindowAccess.h"
#include "tests/support/UserInput.h"
#include "tests/terminal/OpenView.h"
#include "tests/terminal/TerminalTestHost.h"

namespace {

using namespace std::chrono_literals;
using terminal_test::Bytes;
using terminal_test::Shown;
using terminal_test::ViewFixture;
using terminal_test::WaitFor;
using terminal_test::WithView;

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

}  // namespace
