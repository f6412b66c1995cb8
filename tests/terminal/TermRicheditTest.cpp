#include "terminal/TermRichedit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/FromUtf8.h"
#include "platform/TestHooks.h"
#include "tests/support/PersonInput.h"
#include "tests/support/ProcessEvents.h"
#include "tests/terminal/OpenView.h"
#include "tests/terminal/TerminalTestHost.h"

namespace {

using namespace std::chrono_literals;
using terminal_test::Bytes;
using terminal_test::Shown;
using terminal_test::ViewFixture;
using terminal_test::WaitFor;
using terminal_test::WithView;

std::u16string WithLfBreaks(std::u16string text) {
    for (std::size_t at = text.find(u"\r\n"); at != std::u16string::npos; at = text.find(u"\r\n", at))
        text.erase(at, 1);
    return text;
}

std::string Printable(const std::u16string& text) {
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? std::string(1, static_cast<char>(c)) : "?";
    return out;
}

// Focuses the view as a person does, by clicking into it.
void Focus(ViewFixture& f) {
    tarnel::test::ClickOn(f.view);
    ASSERT_TRUE(WaitFor([&] { return ui::Window::GetFocus() == &f.view; }));
}

struct ReceiveCase {
    const char* name;
    // Each piece is sent once the view shows what the pieces before it give.
    std::vector<std::string> pieces;
    std::vector<std::u16string> shownAfter;
};

TEST(TermRichedit, ReceivedBytesShowTheSameTextHoweverTheyAreSplit) {
    const std::vector<ReceiveCase> cases = {
        {"euro split over two reads", {Bytes({'x', 0xE2, 0x82}), Bytes({0xAC}) + "y"}, {u"x", u"x\u20ACy"}},
        {"ill-formed byte", {Bytes({0x41, 0xFF, 0x42})}, {u"A\uFFFDB"}},
        {"cut-off sequence then ascii", {Bytes({'x', 0xE2, 0x82}), "y"}, {u"x", u"x\uFFFDy"}},
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
                    << c.name << " piece " << i << " shows " << Printable(Shown(f.view));
            }
        }
    });
}

// Reads that come within a frame of the last insertion wait for the frame's
// end; none is lost or shown out of order, wherever the frames fall.
TEST(TermRichedit, PiecesArrivingFasterThanFramesAreAllShownInOrder) {
    WithView(true, [](ViewFixture& f) {
        std::u16string expected;
        for (int i = 0; i < 60; ++i) {
            const std::string piece = "piece " + std::to_string(i) + "\r\n";
            f.pty.Send(piece);
            expected += WithLfBreaks(ui::FromUtf8(piece));
            ui::test::ProcessEvents();
        }
        EXPECT_TRUE(WaitFor([&] { return Shown(f.view) == expected; })) << Printable(Shown(f.view));
    });
}

// "L<i>:", built up by appending: GCC 12 warns wrongly about "L" + string.
std::string LineNumber(int i) {
    std::string number = "L";
    number += std::to_string(i);
    number += ':';
    return number;
}

std::string NumberedLines(int first, int count, int lineLength) {
    std::string bytes;
    for (int i = first; i < first + count; ++i) {
        std::string line = LineNumber(i);
        line.resize(static_cast<std::size_t>(lineLength), '.');
        bytes += line + "\r\n";
    }
    return bytes;
}

// Reads that come while the view is busy showing text cost one notification
// between them, a key typed meanwhile goes out before they stop, and the
// view ends with the newest text, exactly.
TEST(TermRichedit, AStreamOfReadsTakesOneNotificationAtATimeAndLetsInputThrough) {
    WithView(true, [](ViewFixture& f) {
        Focus(f);
        std::error_code ok;
        std::string all;
        for (int i = 0; i < 100; ++i) {
            const std::string line = NumberedLines(i, 1, 60);
            f.view.OnRead(f.view.m_channel, ok, {line.begin(), line.end()},
                          static_cast<unsigned>(line.size()));
            all += line;
        }
        ASSERT_TRUE(WaitFor([&] { return Shown(f.view) == WithLfBreaks(ui::FromUtf8(all)); }));
        EXPECT_EQ(f.view.notifications, 1) << "100 reads before the window thread ran";

        std::atomic<bool> stopReading{false};
        std::thread reader([&] {
            std::error_code fine;
            const auto deadline = std::chrono::steady_clock::now() + 10s;
            for (int i = 100; !stopReading && std::chrono::steady_clock::now() < deadline; i += 64) {
                const std::string lines = NumberedLines(i, 64, 60);
                f.view.OnRead(f.view.m_channel, fine, {lines.begin(), lines.end()},
                              static_cast<unsigned>(lines.size()));
                all += lines;
                // About 2 MB/s, a fast USB serial device's stream.
                std::this_thread::sleep_for(2ms);
            }
        });
        tarnel::test::PressKey('Q');
        const bool echoedWhileReading =
            WaitFor([&] { return Shown(f.view).find(u'q') != std::u16string::npos; }, 5s);
        stopReading = true;
        reader.join();
        EXPECT_TRUE(echoedWhileReading);
        EXPECT_EQ(f.pty.Receive(1, 5s), "q");
        // More than a view of text after the key's echo: the view holds the
        // stream's newest characters only.
        const std::string last = NumberedLines(1000000, 600, 60);
        f.view.OnRead(f.view.m_channel, ok, {last.begin(), last.end()}, static_cast<unsigned>(last.size()));
        all += last;
        const std::u16string stream = WithLfBreaks(ui::FromUtf8(all));
        const std::u16string expected = stream.substr(stream.size() - ui::RichEditCtrl::kDefaultLimit);
        EXPECT_TRUE(WaitFor([&] { return Shown(f.view) == expected; })) << Shown(f.view).size();
    });
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
        std::vector<std::u16string> lines;
        const std::u16string shown = Shown(f.view);
        for (std::size_t start = 0, end; start < shown.size(); start = end + 1) {
            end = shown.find(u'\n', start);
            if (end == std::u16string::npos) end = shown.size();
            if (end > start) lines.push_back(shown.substr(start, end - start));
        }
        const int firstShown = 330 - static_cast<int>(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ASSERT_TRUE(lines[i].starts_with(ui::FromUtf8(LineNumber(firstShown + static_cast<int>(i)))))
                << Printable(lines[i]);
            ASSERT_EQ(lines[i].size(), 99u);
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
        std::u16string expected = WithLfBreaks(text);
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
            std::string withoutNul = batch;
            std::erase(withoutNul, '\0');
            std::u16string expected = WithLfBreaks(ui::FromUtf8(withoutNul));
            expected = expected.substr(expected.size() - ui::RichEditCtrl::kDefaultLimit);
            EXPECT_TRUE(WaitFor([&] { return Shown(f.view) == expected; }))
                << batch.size() << " bytes show " << Shown(f.view).size() << " characters";
        }
    });
}

// A flood: batches longer than the view, each coming while the previous one
// is shown, some frames skipped meanwhile; the view ends with the newest
// characters, a character split between two batches whole.
TEST(TermRichedit, FloodOfBatchesLongerThanTheViewEndsWithItsNewestCharacters) {
    std::string all;
    for (int i = 0; all.size() < 300000; ++i)
        all += "line " + std::to_string(i) + " \xE2\x82\xAC\r\n";
    WithView(true, [&](ViewFixture& f) {
        std::error_code ok;
        for (std::size_t at = 0; at < all.size(); at += 50001) {
            const std::string batch = all.substr(at, 50001);
            f.view.OnRead(f.view.m_channel, ok, {batch.begin(), batch.end()},
                          static_cast<unsigned>(batch.size()));
            ASSERT_TRUE(WaitFor([&] { return !Shown(f.view).empty(); }));
        }
        std::u16string expected = WithLfBreaks(ui::FromUtf8(all));
        expected = expected.substr(expected.size() - ui::RichEditCtrl::kDefaultLimit);
        EXPECT_TRUE(WaitFor([&] { return Shown(f.view) == expected; })) << Shown(f.view).size();
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

struct KeyCase {
    const char* name;
    bool cr;
    bool lf;
    ui::UINT key;  // 0: `text` is typed instead
    std::u16string text;
    std::string sent;
    std::u16string shown;  // after "ab" was shown and "cd" received
};

TEST(TermRichedit, TypedKeysGoToThePortAtOnce) {
    const std::vector<KeyCase> cases = {
        {"character", true, false, 'Q', u"", "q", u"abcdq"},
        {"hangul", true, false, 0, u"\uD55C", Bytes({0xED, 0x95, 0x9C}), u"abcd\uD55C"},
        {"outside the basic plane", true, false, 0, u"\U0001F600", Bytes({0xF0, 0x9F, 0x98, 0x80}),
         u"abcd\U0001F600"},
        {"Enter with CR", true, false, ui::VK_RETURN, u"", "\r", u"abcd\n"},
        {"Enter with LF", false, true, ui::VK_RETURN, u"", "\n", u"abcd\n"},
        {"Enter with CR LF", true, true, ui::VK_RETURN, u"", "\r\n", u"abcd\n"},
        {"Enter with no line end", false, false, ui::VK_RETURN, u"", "", u"abcd"},
        {"Backspace", true, false, ui::VK_BACK, u"", "", u"abcd"},
        {"Delete", true, false, ui::VK_DELETE, u"", "", u"abcd"},
        {"Left", true, false, ui::VK_LEFT, u"", "", u"abcd"},
        {"Up", true, false, ui::VK_UP, u"", "", u"abcd"},
        {"Right", true, false, ui::VK_RIGHT, u"", "", u"abcd"},
        {"Down", true, false, ui::VK_DOWN, u"", "", u"abcd"},
    };
    WithView(true, [&](ViewFixture& f) {
        Focus(f);
        for (const KeyCase& c : cases) {
            f.view.ClearView();
            f.pty.Send("ab");
            ASSERT_TRUE(WaitFor([&] { return Shown(f.view) == u"ab"; })) << c.name;
            // Received within a frame of the last text shown, so it would wait
            // for the frame's end; the key's echo still comes after it.
            std::error_code ok;
            f.view.OnRead(f.view.m_channel, ok, {'c', 'd'}, 2);
            // The caret is put back at the end before the key takes effect.
            f.view.SetSel(0, 1);
            f.view.m_lineEndCR = c.cr;
            f.view.m_lineEndLF = c.lf;
            if (c.key != 0)
                tarnel::test::PressKey(c.key);
            else
                tarnel::test::TypeText(c.text);
            if (c.sent.empty()) {
                EXPECT_EQ(f.pty.ReceiveIdle(300ms), "") << c.name;
            } else {
                EXPECT_EQ(f.pty.Receive(c.sent.size(), 5s), c.sent) << c.name;
            }
            EXPECT_TRUE(WaitFor([&] { return Shown(f.view) == c.shown; }))
                << c.name << ": " << Printable(Shown(f.view));
        }
    });
}

TEST(TermRichedit, EchoIntoAFullViewMakesRoomByWholeLines) {
    WithView(true, [](ViewFixture& f) {
        for (int i = 0; i < 330; ++i)
            f.view.AppendText(std::u16string(98, u'x') + u"\r\n");
        f.view.AppendText(std::u16string(97, u'y'));
        ASSERT_EQ(f.view.GetTextLength(), ui::RichEditCtrl::kDefaultLimit);

        Focus(f);
        tarnel::test::PressKey('Q');
        EXPECT_EQ(f.pty.Receive(1, 5s), "q");
        EXPECT_EQ(f.view.GetTextLength(), ui::RichEditCtrl::kDefaultLimit - 99 + 1);
        EXPECT_TRUE(Shown(f.view).ends_with(u"x\n" + std::u16string(97, u'y') + u"q"));
        // Windows hides a window while its redraw is off.
        EXPECT_TRUE(f.view.IsWindowVisible());
    });
}

TEST(TermRichedit, KeysWhileClosedAreNeitherSentLaterNorShown) {
    WithView(false, [](ViewFixture& f) {
        Focus(f);
        tarnel::test::PressKey('Q');
        tarnel::test::PressKey(ui::VK_RETURN);
        EXPECT_EQ(Shown(f.view), u"");
        f.Open();
        EXPECT_EQ(f.pty.ReceiveIdle(300ms), "");
        f.Close();
    });
}

TEST(TermRichedit, ReadErrorReachesTheErrorCallback) {
    WithView(true, [](ViewFixture& f) {
        f.pty.Unplug();
        EXPECT_TRUE(WaitFor([&] { return f.errors.load() > 0; }));
    });
}

}  // namespace
