// Floods the terminal page's port from the device side of a pseudo-terminal
// with mixed ASCII and UTF-8 lines and measures the rate at which the bytes
// reach the view, and the longest time the window thread was kept from its
// event loop (a 10 ms timer that notes how late it fires). The baseline is
// the fastest baud rate the program offers, 460800 baud or 46,080 bytes/s.
//
//   terminal_ingest [megabytes]   (default 8)

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/Dialog.h"
#include "platform/TestHooks.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"
#include "res/ResourceTypes.h"
#include "terminal/SerialTermPage.h"
#include "tests/support/PtyPair.h"

namespace {

constexpr double kBaselineBytesPerSecond = 46080.0;
constexpr int kTimerPeriodMs = 10;
const std::string kEndMarker = "END OF FLOOD";

std::string Flood(std::size_t bytes) {
    static const char* const kTexts[] = {
        "OK",
        "AT+VER? Tarnel 1.1",
        "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 \xED\x85\x8D\xEC\x8A\xA4\xED\x8A\xB8",
        "price 12 \xE2\x82\xAC, check \xE2\x9C\x93",
        "The quick brown fox jumps over the lazy dog",
        "\xF0\x9F\x98\x80 smile"};
    std::string flood;
    flood.reserve(bytes + 100);
    for (unsigned i = 0; flood.size() < bytes; ++i) {
        flood += "line " + std::to_string(i) + ": " + kTexts[i % std::size(kTexts)] + "\r\n";
    }
    return flood + kEndMarker + "\r\n";
}

const res::DialogTemplate& HostTemplate() {
    static const res::DialogTemplate host{0,
                                          {u"Host", u"Host"},
                                          u"MS Shell Dlg",
                                          8,
                                          330,
                                          260,
                                          ui::WS_POPUP | ui::WS_CAPTION | ui::WS_VISIBLE,
                                          0,
                                          0,
                                          {}};
    return host;
}

bool EndMarkerShown(const SerialTermPage& page) {
    const auto* edit = qobject_cast<const QPlainTextEdit*>(ui::QWidgetOf(page.m_view));
    const QTextBlock last = edit->document()->lastBlock();
    return last.text().isEmpty() && last.previous().text() == QString::fromStdString(kEndMarker);
}

// The view must show the newest part of the flood exactly: nothing lost or
// garbled on the way. (It may start inside a line: a batch longer than the
// view shows its newest characters.)
bool ViewShowsTheFloodsEnd(const SerialTermPage& page, const std::string& flood) {
    const auto* edit = qobject_cast<const QPlainTextEdit*>(ui::QWidgetOf(page.m_view));
    const QString shown = edit->toPlainText();
    const QString expected = QString::fromUtf8(flood).replace("\r\n", "\n");
    return shown.size() > 30000 && expected.endsWith(shown);
}

struct Result {
    double seconds = 0;
    qint64 maxBlockedMs = 0;
    bool intact = false;
};

void Measure(SerialTermPage& page, ui::Dialog& host, tarnel::test::PtyPair& pty, const std::string& flood,
             Result& result) {
    if (!page.Create(&host)) {
        std::fprintf(stderr, "cannot create the terminal page\n");
        return;
    }
    page.ShowWindow(ui::SW_SHOW);
    page.ClosePort();
    const std::u16string port(pty.SlavePath().begin(), pty.SlavePath().end());
    if (const std::error_code error = page.OpenPort(port, 460800, 0, 0, 0, 8)) {
        std::fprintf(stderr, "cannot open %s: %s\n", pty.SlavePath().c_str(), error.message().c_str());
        return;
    }
    QEventLoop loop;
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        result.maxBlockedMs = std::max(result.maxBlockedMs, sinceTick.restart() - kTimerPeriodMs);
        if (EndMarkerShown(page)) loop.quit();
    });
    clock.start();
    sinceTick.start();
    tick.start(kTimerPeriodMs);
    std::thread device([&] {
        constexpr std::size_t kPiece = 64 * 1024;
        for (std::size_t at = 0; at < flood.size(); at += kPiece)
            pty.Send(flood.substr(at, kPiece));
    });
    loop.exec();
    result.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    tick.stop();
    device.join();
    result.intact = ViewShowsTheFloodsEnd(page, flood);
    page.ClosePort();
}

Result Run(const std::string& flood) {
    Result result;
    SerialTermPage page;
    ui::Dialog host(HostTemplate());
    tarnel::test::PtyPair pty;
    ui::test::SetModalHook([&](ui::Dialog&) {
        Measure(page, host, pty, flood, result);
        host.EndDialog(ui::IDOK);
    });
    host.DoModal();
    ui::test::SetModalHook({});
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 8.0;
    QApplication app(argc, argv);

    const std::string flood = Flood(static_cast<std::size_t>(megabytes * 1024 * 1024));
    const Result result = Run(flood);
    if (result.seconds <= 0) return 1;

    const double rate = static_cast<double>(flood.size()) / result.seconds;
    std::printf("bytes flooded:           %zu\n", flood.size());
    std::printf("time until all shown:    %.2f s\n", result.seconds);
    std::printf("view shows the flood:    %s\n", result.intact ? "intact" : "WRONG");
    std::printf("bytes/s reaching view:   %.0f\n", rate);
    std::printf("longest window block:    %lld ms (limit 100 ms)\n",
                static_cast<long long>(result.maxBlockedMs));
    std::printf("target:                  20x the baseline\n");
    std::printf("ratio to 46080 bytes/s:  %.1fx\n", rate / kBaselineBytesPerSecond);
    return result.intact ? 0 : 1;
}
