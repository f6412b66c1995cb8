// The tarnelctl executable as a user or a script runs it: output, messages
// and exit status.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ctl/ExitStatus.h"
#include "serial/CSerialportMP.h"
#include "serial/IoServiceExec.h"
#include "tests/support/PtyPair.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

extern char** environ;

namespace tarnel::ctl {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct CtlRun {
    std::optional<int> exit;  // none when it did not end by itself in time
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs tarnelctl with its standard input from /dev/null (no terminal), its
// output into files, and XDG_RUNTIME_DIR set to `runtimeDir`.
class Tarnelctl {
public:
    CtlRun operator()(std::vector<std::string> args) const {
        const fs::path out = m_dir.Path() / "out";
        const fs::path err = m_dir.Path() / "err";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        args.insert(args.begin(), TARNELCTL_PATH);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        std::vector<std::string> env{"XDG_RUNTIME_DIR=" + RuntimeDir().string()};
        for (char** var = environ; *var != nullptr; ++var)
            if (std::string(*var).rfind("XDG_RUNTIME_DIR=", 0) != 0) env.emplace_back(*var);
        std::vector<char*> envp;
        for (std::string& var : env)
            envp.push_back(var.data());
        envp.push_back(nullptr);

        pid_t pid = -1;
        const int spawned = posix_spawn(&pid, TARNELCTL_PATH, &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        CtlRun run;
        if (spawned != 0) return run;
        int status = 0;
        if (!test::WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 20s)) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        } else if (WIFEXITED(status)) {
            run.exit = WEXITSTATUS(status);
        }
        run.out = ReadFile(out);
        run.err = ReadFile(err);
        return run;
    }

    fs::path RuntimeDir() const { return m_dir.Path() / "runtime"; }
    fs::path PortDir() const { return RuntimeDir() / "tarnel-ports"; }

    // Publishes `pty` as a virtual port; returns the link's path.
    std::string Publish(const std::string& name, const test::PtyPair& pty) const {
        fs::create_directories(PortDir());
        fs::create_symlink(pty.SlavePath(), PortDir() / name);
        return (PortDir() / name).string();
    }

private:
    test::TempDir m_dir{"tarnelctl"};
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(Tarnelctl, HelpDescribesEveryCommandAndOptionAndVersionGivesTheProjectVersion) {
    const Tarnelctl tarnelctl;
    const CtlRun help = tarnelctl({"--help"});
    EXPECT_EQ(help.exit, EXIT_DONE);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("Usage: tarnelctl COMMAND [OPTIONS]\n", 0), 0u);
    for (const char* word : {"  ports",     "  info PORT", "  set PORT", "  reset PORT", "  search PORT",
                             "  find PORT", "  provision", "--name",     "--uart",       "--mode",
                             "--target",    "--responses", "--yes",      "--seconds",    "--line",
                             "--json",      "--first",     "--port",     "--watch",      "--help",
                             "--version",   "{n:03}",      "{addr6}",    "Exit status:", "Examples:"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    EXPECT_EQ(tarnelctl({"set", "--help"}).out, help.out);

    const CtlRun version = tarnelctl({"--version"});
    EXPECT_EQ(version.exit, EXIT_DONE);
    EXPECT_EQ(version.out, "tarnelctl (Tarnel Manager) " TARNEL_VERSION "\n");
}

TEST(Tarnelctl, AUsageMistakeExitsWithTwoAndSaysWhyOnStandardError) {
    const Tarnelctl tarnelctl;
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
    const Tarnelctl tarnelctl;
    test::PtyPair pty;
    const std::string sim = tarnelctl.Publish("sim", pty);

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
    const Tarnelctl tarnelctl;
    const CtlRun missing = tarnelctl({"info", "/dev/tarnel-no-such-port"});
    EXPECT_EQ(missing.exit, EXIT_PORT);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(
        missing.err,
        "tarnelctl: Unable to open the COM port.: /dev/tarnel-no-such-port: No such file or directory.\n");

    test::PtyPair pty;
    pty.HoldSlave();
    const std::string port = tarnelctl.Publish("sim", pty);
    IoServiceExec exec;
    const auto holder = std::make_shared<CSerialportMP>(exec.IoContext());
    ASSERT_FALSE(holder->Open(port, 9600, 8, 0, 0, 0));
    const CtlRun busy = tarnelctl({"search", port, "--seconds", "5"});
    EXPECT_EQ(busy.exit, EXIT_PORT);
    EXPECT_EQ(busy.err, "tarnelctl: Unable to open the COM port.: " + port + ": Device or resource busy.\n");
    holder->Close();
    exec.Stop();

    // Once the port is free it opens, and the command says plainly that it
    // cannot go further.
    const CtlRun free = tarnelctl({"search", port, "--seconds", "5"});
    EXPECT_EQ(free.exit, EXIT_UNAVAILABLE);
    EXPECT_EQ(free.out, "");
    EXPECT_NE(free.err.find("not available yet"), std::string::npos) << free.err;
}

TEST(Tarnelctl, TheModuleCommandsAreNotAvailableYetAndSaySo) {
    const Tarnelctl tarnelctl;
    test::PtyPair pty;
    pty.HoldSlave();
    const std::string port = tarnelctl.Publish("sim", pty);
    const std::vector<std::vector<std::string>> commands{{"info", port},
                                                         {"set", port, "--mode", "1"},
                                                         {"reset", port, "--yes"},
                                                         {"find", port},
                                                         {"info", port, "--line", "auto"},
                                                         {"provision", "--port", port, "--mode", "1"},
                                                         {"provision", "--watch", "--name", "S-{n}"}};
    for (const auto& command : commands) {
        const CtlRun run = tarnelctl(command);
        EXPECT_EQ(run.exit, EXIT_UNAVAILABLE) << command[0];
        EXPECT_EQ(run.out, "") << command[0];
        EXPECT_NE(run.err.find("not available yet"), std::string::npos) << command[0];
    }
}

}  // namespace
}  // namespace tarnel::ctl
