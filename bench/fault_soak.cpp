// Pulls the module's cable at a random moment, round after round, under the
// real main dialog on Qt's offscreen platform, and counts how the program
// takes it. Each round opens a fresh simulated module in configurator or
// terminal mode, unplugs it during the check and read, a search, Apply, a box
// that is up, or a terminal flood, answers every box through the hooks, and
// waits for the COM port dialog to come back. An opening round pulls the
// cable at a random moment from the COM port dialog's OK on (before, while or
// just after the port opens), then plugs a fresh module in on the same
// virtual port link and opens it.
//
//   fault_soak [--rounds N] [--seed S] [--deadline-ms D] [--moment M]
//
// --moment plays only moment M (0 check and read, 1 search, 2 apply, 3 box,
// 4 terminal flood, 5 opening) instead of one drawn per round.
//
// What is counted:
//   crash          the process running the round ended by a signal or an
//                  unexpected exit status (rounds run in child processes, a
//                  new one after each crash or hang)
//   hang           the COM port dialog was not back within the deadline, or
//                  the window thread made no progress at all (the child's
//                  watchdog then ends it)
//   no message     the port failed and no error box said so
//   more than one  the port failed and more than one error box said so
//   false message  the live module opened after a failed opening was given
//                  an error box, or was not read
// A round whose moment did not come (a box that never showed) or whose port
// the program had closed before the unplug has no fault to report.
// Ends non-zero on any crash, hang or wrong number of messages.

#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/CTarnelManagerDlg.h"
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Language.h"
#include "platform/Profile.h"
#include "platform/TestHooks.h"
#include "sim/PtyModule.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalRecorder.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using tarnel::sim::PtyModule;
using tarnel::sim::SimConfig;

enum Outcome { HANDLED, NO_FAULT, NO_MESSAGE, MANY_MESSAGES, FALSE_MESSAGE, HANG, CRASH, OUTCOME_COUNT };
const char* const kOutcomeNames[] = {"handled",       "no fault", "no message", "more than one message",
                                     "false message", "hang",     "crash"};

enum Moment { CHECK_AND_READ, SEARCH, APPLY, BOX, TERMINAL_FLOOD, OPENING, MOMENT_COUNT };
const char* const kMomentNames[] = {"check and read", "search", "apply", "box", "terminal flood", "opening"};

// The virtual port link an opening round's modules take one after the other.
constexpr char kLinkName[] = "soak";

// The boxes a round may leave up while it unplugs.
constexpr int kHeldBoxes[] = {125, 126, 128, 129, 116};

constexpr int kHangExit = 3;

struct Options {
    int rounds = 1000;
    uint64_t seed = 0;
    std::chrono::milliseconds deadline{30000};
    int moment = -1;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    options.seed = std::random_device{}();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const long long value = std::atoll(argv[i + 1]);
        if (flag == "--rounds" && value > 0) {
            options.rounds = static_cast<int>(value);
        } else if (flag == "--seed") {
            options.seed = static_cast<uint64_t>(value);
        } else if (flag == "--deadline-ms" && value > 0) {
            options.deadline = std::chrono::milliseconds(value);
        } else if (flag == "--moment" && value >= 0 && value < MOMENT_COUNT) {
            options.moment = static_cast<int>(value);
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

void Pump() {
    ui::test::ProcessEvents();
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s) {
    return tarnel::test::WaitUntil(condition, timeout, Pump);
}

// Lets the program run for `period`, as the time a user takes.
void RunFor(std::chrono::milliseconds period) {
    WaitFor([] { return false; }, period);
}

void Click(ui::Window& dialog, int id) {
    if (auto* button = dynamic_cast<ui::Button*>(dialog.GetDlgItem(id))) button->Click();
}

// One round: everything it decides is drawn from its own generator, so that a
// round can be run again alone from the seed and its number.
class SoakRound {
public:
    SoakRound(uint64_t seed, int round, const Options& options)
        : m_deadline(options.deadline),
          m_random(seed ^ (static_cast<uint64_t>(round) * 0x9E3779B97F4A7C15ull)),
          m_moment(static_cast<Moment>(options.moment >= 0 ? options.moment : Draw(0, MOMENT_COUNT - 1))),
          m_heldBox(kHeldBoxes[Draw(0, std::size(kHeldBoxes) - 1)]),
          m_module(ModuleFor()) {}

    Moment GetMoment() const { return m_moment; }

    Outcome Run() {
        if (m_module.Start()) return NO_FAULT;
        if (m_moment == OPENING && m_module.Publish(kLinkName, m_link)) return NO_FAULT;
        CTarnelManagerDlg dlg([this](std::vector<PortName>& ports) {
            ports = {PortPath()};
            return std::error_code{};
        });
        ui::SetMainWnd(&dlg);
        Outcome outcome = NO_FAULT;
        ui::test::ModalRecorder modal([&](ui::Dialog& shown) {
            if (auto* com = dynamic_cast<ComPortCfgDlg*>(&shown)) return AnswerComPortDialog(*com);
            if (&shown == &dlg) outcome = Play(dlg);
            shown.EndDialog(ui::IDCANCEL);
        });
        dlg.DoModal();
        ui::SetMainWnd(nullptr);
        if (m_unplugger.joinable()) m_unplugger.join();
        return outcome;
    }

private:
    int Draw(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    std::chrono::milliseconds DrawMs(int high) { return std::chrono::milliseconds(Draw(0, high)); }

    SimConfig ModuleFor() {
        SimConfig config;
        config.replyDelay = DrawMs(20);
        config.inquiryTime = std::chrono::milliseconds(Draw(1500, 6000));
        if (m_moment == BOX && m_heldBox == 129) config.state = tarnel::sim::ModuleState::Connected;
        if (m_moment == BOX && m_heldBox == 125) config.settings.quietMode = true;
        if (m_moment == BOX && m_heldBox == 116) config.inquiryTime = 2000ms;
        return config;
    }

    bool Terminal() const { return m_moment == TERMINAL_FLOOD; }

    std::string PortPath() const { return m_moment == OPENING ? m_link.string() : m_module.SlavePath(); }

    void AnswerComPortDialog(ComPortCfgDlg& com) {
        ++m_comPortDialogs;
        if (m_moment == OPENING && m_comPortDialogs == 1) UnplugSoon();
        if (m_moment == OPENING && m_comPortDialogs == 2 && !PlugTheNextModule())
            return com.EndDialog(ui::IDCANCEL);
        if (m_comPortDialogs > (m_moment == OPENING ? 2 : 1)) return com.EndDialog(ui::IDCANCEL);
        auto& ports = dynamic_cast<ui::ComboBox&>(*com.GetDlgItem(ComPortCfgDlg::IDC_PORT));
        const std::string path = PortPath();
        for (int i = 0; i < ports.GetCount(); ++i) {
            if (ports.GetLBText(i) == std::u16string(path.begin(), path.end())) ports.SetCurSel(i);
        }
        Click(com, Terminal() ? ComPortCfgDlg::IDC_MODE_TERMINAL : ComPortCfgDlg::IDC_MODE_CONFIGURATOR);
        Click(com, ui::IDOK);
    }

    bool PortOpen(CTarnelManagerDlg& dlg) const {
        if (Terminal()) return dlg.TermPage().GetDlgItem(SerialTermPage::IDC_SEND)->IsWindowEnabled();
        return dlg.ConfPage().IsPortOpen();
    }
    static bool ConfiguratorReady(CTarnelManagerDlg& dlg) {
        return dlg.ConfPage().GetDlgItem(TarnelConfPage::IDC_APPLY)->IsWindowEnabled();
    }

    void Unplug(CTarnelManagerDlg& dlg) {
        // Only the window thread closes ports, so this is what the cable
        // pulled now finds.
        m_portOpenAtUnplug = PortOpen(dlg);
        m_boxesBeforeUnplug = m_boxes.Count();
        m_module.Unplug();
        m_unplugged = true;
    }

    // Pulls the cable from another thread at a random moment from the OK
    // that is being given now on: the window thread is then on its way to
    // open the port, or opening it, or reading the module.
    void UnplugSoon() {
        m_boxesBeforeUnplug = m_boxes.Count();
        m_portOpenAtUnplug = true;
        const std::chrono::milliseconds delay = DrawMs(400);
        m_unplugger = std::thread([this, delay] {
            std::this_thread::sleep_for(delay);
            m_module.Unplug();
            m_unplugged = true;
        });
    }

    // A fresh module on the link the pulled one left.
    bool PlugTheNextModule() {
        // The pulled module's link goes only when its unplugging ends.
        WaitFor([this] { return m_unplugged.load(); });
        m_boxesAtNextOpening = m_boxes.Count();
        std::filesystem::path link;
        return !m_next.Start() && !m_next.Publish(kLinkName, link) && link == m_link;
    }

    int ErrorsSince(std::size_t first) const {
        int errors = 0;
        const std::vector<ui::test::MessageBoxCall> calls = m_boxes.Calls();
        for (std::size_t i = first; i < calls.size(); ++i) {
            if ((calls[i].style & 0xF0) == ui::MB_ICONERROR) ++errors;
        }
        return errors;
    }

    Outcome Judge(int errors) const {
        return errors == 0 ? NO_MESSAGE : errors > 1 ? MANY_MESSAGES : HANDLED;
    }

    Outcome Play(CTarnelManagerDlg& dlg) {
        if (m_moment == OPENING) return PlayOpening(dlg);
        Provoke(dlg);
        if (!m_unplugged || !m_portOpenAtUnplug) return NO_FAULT;
        if (!WaitFor([this] { return m_comPortDialogs > 1; }, m_deadline)) return HANG;
        RunFor(300ms);
        return Judge(ErrorsSince(m_boxesBeforeUnplug));
    }

    Outcome PlayOpening(CTarnelManagerDlg& dlg) {
        WaitFor([this] { return m_unplugged.load(); });
        // A failure the program kept to itself brings no COM port dialog.
        if (!WaitFor([this] { return m_comPortDialogs > 1; }, 5s))
            return Judge(ErrorsSince(m_boxesBeforeUnplug));
        const Outcome failed = Judge(ErrorsSince(m_boxesBeforeUnplug));
        if (failed != HANDLED) return failed;
        const bool read = WaitFor([&] { return ConfiguratorReady(dlg) && dlg.ConfPage().IsPortOpen(); }, 10s);
        RunFor(300ms);
        return read && ErrorsSince(m_boxesAtNextOpening) == 0 ? HANDLED : FALSE_MESSAGE;
    }

    void Provoke(CTarnelManagerDlg& dlg) {
        switch (m_moment) {
            case CHECK_AND_READ:
                RunFor(DrawMs(1500));
                return Unplug(dlg);
            case SEARCH:
                if (!WaitFor([&] { return ConfiguratorReady(dlg); })) return;
                Click(dlg.ConfPage(), TarnelConfPage::IDC_SEARCH);
                RunFor(DrawMs(5000));
                return Unplug(dlg);
            case APPLY:
                if (!WaitFor([&] { return ConfiguratorReady(dlg); })) return;
                Click(dlg.ConfPage(), TarnelConfPage::IDC_APPLY);
                RunFor(DrawMs(400));
                return Unplug(dlg);
            case BOX:
                return UnplugUnderABox(dlg);
            case TERMINAL_FLOOD:
                return FloodTheTerminal(dlg);
            default:
                return;
        }
    }

    void UnplugUnderABox(CTarnelManagerDlg& dlg) {
        m_boxes.Hold(m_heldBox, [&] {
            RunFor(DrawMs(300));
            Unplug(dlg);
            WaitFor([this] { return m_comPortDialogs > 1; });
        });
        const bool clicked = m_heldBox == 126 || m_heldBox == 128 || m_heldBox == 116;
        if (clicked && !WaitFor([&] { return ConfiguratorReady(dlg); })) return;
        if (m_heldBox == 126) Click(dlg.ConfPage(), TarnelConfPage::IDC_APPLY);
        if (m_heldBox == 128) Click(dlg.ConfPage(), TarnelConfPage::IDC_FACTORY_RESET);
        if (m_heldBox == 116) Click(dlg.ConfPage(), TarnelConfPage::IDC_SEARCH);
        WaitFor([this] { return m_unplugged.load(); });
    }

    void FloodTheTerminal(CTarnelManagerDlg& dlg) {
        SerialTermPage& page = dlg.TermPage();
        if (!WaitFor([&] { return PortOpen(dlg); })) return;
        const int lines = Draw(1, 60);
        for (int i = 0; i < lines; ++i) {
            page.m_history.SetWindowText(u"AT+INFO1?");
            Click(page, SerialTermPage::IDC_SEND);
        }
        RunFor(DrawMs(500));
        Unplug(dlg);
    }

    const std::chrono::milliseconds m_deadline;
    std::mt19937_64 m_random;
    const Moment m_moment;
    const int m_heldBox;
    PtyModule m_module;
    PtyModule m_next;
    std::filesystem::path m_link;
    std::thread m_unplugger;
    ui::test::MessageBoxRecorder m_boxes;
    int m_comPortDialogs = 0;
    std::size_t m_boxesAtNextOpening = 0;
    std::atomic<bool> m_unplugged{false};
    bool m_portOpenAtUnplug = false;
    std::size_t m_boxesBeforeUnplug = 0;
};

void Report(int fd, int round, int outcome) {
    const std::string line = std::to_string(round) + " " + std::to_string(outcome) + "\n";
    if (write(fd, line.data(), line.size()) < 0) std::_Exit(EXIT_FAILURE);
}

// Ends the process when a round makes no progress at all: a window thread
// stuck for good cannot be unwound from here.
class Watchdog {
public:
    Watchdog(int fd, std::chrono::milliseconds deadline)
        : m_thread([this, fd, deadline] {
              while (!m_stop) {
                  std::this_thread::sleep_for(100ms);
                  const int round = m_round;
                  if (round >= 0 && Clock::now() - Clock::time_point(Clock::duration(m_start)) > deadline) {
                      Report(fd, round, HANG);
                      std::_Exit(kHangExit);
                  }
              }
          }) {}
    ~Watchdog() {
        m_stop = true;
        m_thread.join();
    }
    void Start(int round) {
        m_start = Clock::now().time_since_epoch().count();
        m_round = round;
    }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_round{-1};
    std::atomic<Clock::rep> m_start{0};
    std::thread m_thread;
};

int RunRounds(int fd, const Options& options, int first) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "fault_soak";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    // The offscreen platform's notes on every window would bury the findings.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    ui::SetUiLanguage(ui::Language::English);
    QTemporaryDir profile;
    ui::SetProfileDirectory(profile.path().toStdString());
    // The opening rounds' virtual port links, out of every other program's way.
    setenv("XDG_RUNTIME_DIR", profile.path().toLocal8Bit().constData(), 1);
    // Two hangs' worth: a round that is merely slow is the round's own
    // business (it reports a hang when the dialog does not come back).
    Watchdog watchdog(fd, 2 * options.deadline);
    for (int round = first; round < options.rounds; ++round) {
        watchdog.Start(round);
        SoakRound soak(options.seed, round, options);
        const Outcome outcome = soak.Run();
        if (outcome != HANDLED && outcome != NO_FAULT) {
            std::fprintf(stderr, "round %d (%s): %s\n", round, kMomentNames[soak.GetMoment()],
                         kOutcomeNames[outcome]);
        }
        Report(fd, round, outcome);
    }
    ui::SetProfileDirectory({});
    return 0;
}

void PrintCounts(const int (&counts)[OUTCOME_COUNT], int rounds) {
    std::printf("after %d rounds:", rounds);
    for (int outcome = 0; outcome < OUTCOME_COUNT; ++outcome)
        std::printf("%s %s %d", outcome == 0 ? "" : ",", kOutcomeNames[outcome], counts[outcome]);
    std::printf("\n");
    std::fflush(stdout);
}

// Runs rounds from `first` in a child process and counts what it reports;
// returns the round to go on with.
int RunChild(const Options& options, int first, int (&counts)[OUTCOME_COUNT]) {
    int fds[2];
    if (pipe(fds) != 0) std::exit(EXIT_FAILURE);
    const pid_t child = fork();
    if (child < 0) std::exit(EXIT_FAILURE);
    if (child == 0) {
        close(fds[0]);
        std::fflush(stdout);
        std::_Exit(RunRounds(fds[1], options, first));
    }
    close(fds[1]);
    int last = first - 1;
    FILE* lines = fdopen(fds[0], "r");
    int round = 0;
    int outcome = 0;
    while (std::fscanf(lines, "%d %d", &round, &outcome) == 2) {
        ++counts[outcome];
        last = round;
        if ((round + 1) % 50 == 0) PrintCounts(counts, round + 1);
    }
    std::fclose(lines);
    int status = 0;
    waitpid(child, &status, 0);
    const bool finished = WIFEXITED(status) && WEXITSTATUS(status) == 0 && last == options.rounds - 1;
    const bool hung = WIFEXITED(status) && WEXITSTATUS(status) == kHangExit;
    if (finished || hung) return last + 1;
    ++counts[CRASH];
    std::fprintf(stderr, "round %d: crash (%s %d)\n", last + 1,
                 WIFSIGNALED(status) ? "signal" : "exit status",
                 WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
    return last + 2;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: fault_soak [--rounds N] [--seed S] [--deadline-ms D] [--moment M]\n");
        return 2;
    }
    std::printf("fault_soak: %d rounds, seed %llu, deadline %lld ms\n", options.rounds,
                static_cast<unsigned long long>(options.seed),
                static_cast<long long>(options.deadline.count()));
    std::fflush(stdout);
    int counts[OUTCOME_COUNT] = {};
    const auto start = Clock::now();
    for (int next = 0; next < options.rounds;)
        next = RunChild(options, next, counts);
    const auto seconds = std::chrono::duration<double>(Clock::now() - start).count();
    PrintCounts(counts, options.rounds);
    std::printf("faults %d in %.0f s\n", options.rounds - counts[NO_FAULT] - counts[CRASH], seconds);
    const int bad =
        counts[NO_MESSAGE] + counts[MANY_MESSAGES] + counts[FALSE_MESSAGE] + counts[HANG] + counts[CRASH];
    std::printf("bad rounds %d\n", bad);
    return bad == 0 ? 0 : 1;
}
