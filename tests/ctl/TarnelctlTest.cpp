// The tarnelctl executable as a user or a script runs it: output, messages
// and exit status.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ctl/ExitStatus.h"
#include "serial/CSerialportMP.h"
#include "serial/IoServiceExec.h"
#include "tests/ctl/Tarnelctl.h"
#include "tests/support/PtyPair.h"

namespace tarnel::ctl {
namespace {

TEST(Tarnelctl, HelpDescribesEveryCommandAndOptionAndVersionGivesTheProjectVersion) {
    Tarnelctl tarnelctl;
    const CtlRun help = tarnelctl({"--help"});
    EXPECT_EQ(help.exit, EXIT_DONE);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("Usage: tarnelctl COMMAND [OPTIONS] [--] [PORT]\n", 0), 0u);
    for (const char* word :
         {"  ports",     "  info PORT", "  set PORT",  "  reset PORT", "  search PORT", "  find PORT",
          "  provision", "--name",      "--uart",      "--mode",       "--target",      "--responses",
          "--yes",       "--seconds",   "--line",      "--json",       "--first",       "--port",
          "--watch",     "--help",      "--version",   "{n:03}",       "{addr6}",       "Exit status:",
          "Examples:",   "-V,",         "-v, --trace", "-n, --name",   "130",           "Ctrl+C"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    // A command's help is its part of the manual, with the options it takes only.
    const CtlRun set = tarnelctl({"set", "--help"});
    EXPECT_EQ(set.exit, EXIT_DONE);
    EXPECT_EQ(set.out.rfind("Usage: tarnelctl set PORT [--name TEXT]", 0), 0u) << set.out;
    for (const char* word : {"  -u, --uart B,P,S[,FLOW]", "  -n, --name TEXT", "  -h, --help"})
        EXPECT_NE(set.out.find(word), std::string::npos) << word;
    for (const char* word : {"--seconds", "--watch", "PATTERN", "Exit status:"})
        EXPECT_EQ(set.out.find(word), std::string::npos) << word;

    for (const char* flag : {"--version", "-V"}) {
        const CtlRun version = tarnelctl({flag});
        EXPECT_EQ(version.exit, EXIT_DONE);
        EXPECT_EQ(version.out, "tarnelctl (Tarnel Manager) " TARNEL_VERSION "\n");
    }
}

// The statuses listed in `text` between `from` and `to`: lines of `lead`, a
// number and `after`.
std::set<int> Statuses(const std::string& text, const std::string& from, const std::string& to,
                       const std::string& lead, char after) {
    const std::size_t start = text.find(from);
    std::istringstream section(text.substr(start, text.find(to, start) - start));
    std::set<int> found;
    for (std::string line; std::getline(section, line);) {
        if (line.rfind(lead, 0) != 0) continue;
        const std::size_t digits = line.find_first_not_of("0123456789", lead.size());
        if (digits > lead.size() && digits < line.size() && line[digits] == after)
            found.insert(std::stoi(line.substr(lead.size(), digits - lead.size())));
    }
    return found;
}

TEST(Tarnelctl, TheHelpAndTheManualListEveryExitStatusTheProgramGives) {
    const std::set<int> program{EXIT_DONE,        EXIT_REFUSED,       EXIT_USAGE,
                                EXIT_PORT,        EXIT_NO_MODULE,     EXIT_REPORT,
                                EXIT_INTERRUPTED, EXIT_OUTPUT_CLOSED, EXIT_TERMINATED};
    const std::string help = Tarnelctl()({"--help"}).out;
    EXPECT_EQ(Statuses(help, "Exit status:", "Environment:", "  ", ' '), program);
    std::stringstream man;
    man << std::ifstream(TARNELCTL_MAN_PATH).rdbuf();
    EXPECT_EQ(Statuses(man.str(), "# EXIT STATUS", "# ENVIRONMENT", "*", '*'), program);
}

TEST(Tarnelctl, AUsageMistakeExitsWithTwoAndSaysWhyOnStandardError) {
    Tarnelctl tarnelctl;
    const CtlRun none = tarnelctl({});
    EXPECT_EQ(none.exit, EXIT_USAGE);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "tarnelctl: No command given.\nTry 'tarnelctl --help'.\n");

    const CtlRun name = tarnelctl({"set", "/dev/ttyUSB0", "--name", "a,b"});
    EXPECT_EQ(name.exit, EXIT_USAGE);
    EXPECT_EQ(name.err,
              "tarnelctl: The device name must not contain commas or control characters.\n"
              "Try 'tarnelctl --help'.\n");
    EXPECT_EQ(tarnelctl({"provision", "--watch", "--name", "S-{x}"}).exit, EXIT_USAGE);
    EXPECT_EQ(tarnelctl({"info", "/dev/ttyUSB0", "--line", "9600,N,3"}).exit, EXIT_USAGE);

    // Nothing can confirm a factory reset without a terminal.
    const CtlRun reset = tarnelctl({"reset", "/dev/ttyUSB0"});
    EXPECT_EQ(reset.exit, EXIT_USAGE);
    EXPECT_NE(reset.err.find("--yes"), std::string::npos);
}

TEST(Tarnelctl, PortsListsAVirtualPortAsTextAndAsJson) {
    Tarnelctl tarnelctl;
    test::PtyPair pty;
    const std::string sim = tarnelctl.Publish("sim", pty.SlavePath());

    const CtlRun text = tarnelctl({"ports"});
    EXPECT_EQ(text.exit, EXIT_DONE);
    EXPECT_EQ(text.err, "");
    EXPECT_TRUE(Contains(Lines(text.out), sim)) << text.out;

    const CtlRun json = tarnelctl({"ports", "--json"});
    EXPECT_EQ(json.exit, EXIT_DONE);
    const auto lines = Lines(json.out);
    EXPECT_TRUE(Contains(lines, "{\"port\":\"" + sim + "\"}")) << json.out;
    for (const std::string& line : lines)
        EXPECT_TRUE(line.starts_with("{\"port\":\"") && line.ends_with("}")) << line;
}

TEST(Tarnelctl, AMissingOrBusyPortExitsWithThreeAndTheSystemsReason) {
    Tarnelctl tarnelctl;
    const CtlRun missing = tarnelctl({"info", "/dev/tarnel-no-such-port"});
    EXPECT_EQ(missing.exit, EXIT_PORT);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(
        missing.err,
        "tarnelctl: Unable to open the COM port. /dev/tarnel-no-such-port: No such file or directory.\n");

    // With --json the failure is a result too.
    EXPECT_EQ(
        tarnelctl({"info", "/dev/tarnel-no-such-port", "-j"}).out,
        "{\"port\":\"/dev/tarnel-no-such-port\",\"result\":\"FAIL\",\"reason\":\"Unable to open the COM "
        "port. /dev/tarnel-no-such-port: No such file or directory.\",\"status\":3}\n");

    // provision on one port says why it could not open it, as the others do.
    const CtlRun provision = tarnelctl({"provision", "--port", "/dev/tarnel-no-such-port", "--mode", "1"});
    EXPECT_EQ(provision.exit, EXIT_PORT);
    EXPECT_NE(provision.out.find("FAIL: Unable to open the COM port. /dev/tarnel-no-such-port: No such file"),
              std::string::npos)
        << provision.out;

    // The configurator's words come in the locale's language.
    Tarnelctl korean;
    korean.SetEnv("LANGUAGE", "ko");
    EXPECT_EQ(korean({"info", "/dev/tarnel-no-such-port"}).err.find("tarnelctl: COM 포트를 열 수 없습니다. "),
              0u);

    test::PtyPair pty;
    pty.HoldSlave();
    const std::string port = tarnelctl.Publish("sim", pty.SlavePath());
    IoServiceExec exec;
    const auto holder = std::make_shared<CSerialportMP>(exec.IoContext());
    ASSERT_FALSE(holder->Open(port, 9600, 8, 0, 0, 0));
    const CtlRun busy = tarnelctl({"search", port, "--seconds", "5"});
    EXPECT_EQ(busy.exit, EXIT_PORT);
    EXPECT_EQ(busy.err, "tarnelctl: Unable to open the COM port. " + port + ": Device or resource busy.\n");
    holder->Close();
    exec.Stop();

    // A link its dead publisher left to another program's terminal is
    // refused before any byte.
    test::PtyPair other;
    other.HoldSlave();
    const std::string stale = tarnelctl.Publish("stale", other.SlavePath());
    std::ofstream(stale + ".lock") << "";
    const CtlRun find = tarnelctl({"find", stale});
    EXPECT_EQ(find.exit, EXIT_PORT);
    EXPECT_NE(find.err.find(stale + ": Stale virtual port link"), std::string::npos) << find.err;
    EXPECT_EQ(other.ReceiveIdle(std::chrono::milliseconds(100)), "");

    // Once the port is free it opens, and nothing answers on it.
    const CtlRun free = tarnelctl({"search", port, "--seconds", "5"});
    EXPECT_EQ(free.exit, EXIT_NO_MODULE);
    EXPECT_EQ(free.out, "");
}

TEST(Tarnelctl, EveryModuleCommandExitsWithFourWhenNoModuleAnswers) {
    Tarnelctl tarnelctl;
    tarnelctl.SetEnv("TARNELCTL_PROBE_MS", "20");
    test::PtyPair pty;
    pty.HoldSlave();
    const std::string port = tarnelctl.Publish("sim", pty.SlavePath());
    const std::vector<std::vector<std::string>> commands{
        {"info", port}, {"set", port, "--mode", "1"},     {"reset", port, "--yes"},
        {"find", port}, {"info", port, "--line", "auto"}, {"provision", "--port", port, "--mode", "1"}};
    for (const auto& command : commands) {
        const CtlRun run = tarnelctl(command);
        EXPECT_EQ(run.exit, EXIT_NO_MODULE) << command[0];
        const bool provision = command[0] == "provision";
        const std::string said = provision ? run.out : run.err;
        EXPECT_NE(said.find(provision ? "FAIL: no module answered" : "could not be determined"),
                  std::string::npos)
            << said;
    }
}

}  // namespace
}  // namespace tarnel::ctl
