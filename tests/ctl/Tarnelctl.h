#pragma once

// Runs the tarnelctl executable as a user or a script does: standard input
// from /dev/null (no terminal), output into files, XDG_RUNTIME_DIR in a
// temporary folder whose virtual port directory the test publishes ports in.

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace tarnel::ctl {

struct CtlRun {
    std::optional<int> exit;  // none when it did not end by itself in time
    std::string out;
    std::string err;
};

class Tarnelctl {
public:
    // Runs to the end (killed after `limit`).
    CtlRun operator()(std::vector<std::string> args, std::chrono::seconds limit = std::chrono::seconds(30));

    // Starts a run that the test ends: Out() and Err() show what it printed
    // so far, Interrupt() is Ctrl+C (or another signal), Finish() waits for
    // its end.
    void Start(std::vector<std::string> args);
    std::string Out() const;
    std::string Err() const;
    void Interrupt(int signal = SIGINT) const;
    // kill -9: the run ends without a chance to clean up, as at a crash.
    void Kill() const;
    CtlRun Finish(std::chrono::seconds limit = std::chrono::seconds(30));

    // Standard input and standard error on the terminal `device` (a
    // pseudo-terminal's slave) for the runs that follow; Err() is then empty.
    void SetTerminal(const std::string& device) { m_terminal = device; }
    // Standard output of the next run into a pipe whose reader is gone.
    void CloseOutput();
    // An environment variable for the runs that follow.
    void SetEnv(const std::string& name, const std::string& value);

    std::filesystem::path RuntimeDir() const { return m_dir.Path() / "runtime"; }
    std::filesystem::path PortDir() const { return RuntimeDir() / "tarnel-ports"; }
    // Publishes the terminal `device` as the virtual port `name`; returns the
    // link's path.
    std::string Publish(const std::string& name, const std::string& device) const;

private:
    test::TempDir m_dir{"tarnelctl"};
    std::vector<std::string> m_env;
    std::string m_terminal;
    pid_t m_pid = -1;
    int m_outPipe = -1;  // the writing end for the next run
};

std::vector<std::string> Lines(const std::string& text);
std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);
bool Contains(const std::vector<std::string>& lines, const std::string& line);

}  // namespace tarnel::ctl
