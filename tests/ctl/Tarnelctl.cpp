#include "tests/ctl/Tarnelctl.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "tests/support/WaitUntil.h"

extern char** environ;

namespace tarnel::ctl {
namespace {

namespace fs = std::filesystem;

std::string NameOf(const std::string& var) {
    return var.substr(0, var.find('='));
}

}  // namespace

CtlRun Tarnelctl::operator()(std::vector<std::string> args, std::chrono::seconds limit) {
    Start(std::move(args));
    return Finish(limit);
}

void Tarnelctl::Start(std::vector<std::string> args) {
    const fs::path out = m_dir.Path() / "out";
    const fs::path err = m_dir.Path() / "err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const bool terminal = !m_terminal.empty();
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, terminal ? m_terminal.c_str() : "/dev/null",
                                     terminal ? O_RDWR | O_NOCTTY : O_RDONLY, 0);
    if (m_outPipe >= 0)
        posix_spawn_file_actions_adddup2(&actions, m_outPipe, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
    if (terminal)
        posix_spawn_file_actions_adddup2(&actions, STDIN_FILENO, STDERR_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
    args.insert(args.begin(), TARNELCTL_PATH);
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = m_env;
    env.push_back("XDG_RUNTIME_DIR=" + RuntimeDir().string());
    for (char** var = environ; *var != nullptr; ++var) {
        const std::string name = NameOf(*var);
        if (std::none_of(env.begin(), env.end(), [&](const std::string& set) { return NameOf(set) == name; }))
            env.emplace_back(*var);
    }
    std::vector<char*> envp;
    envp.reserve(env.size() + 1);
    for (std::string& var : env)
        envp.push_back(var.data());
    envp.push_back(nullptr);
    if (posix_spawn(&m_pid, TARNELCTL_PATH, &actions, nullptr, argv.data(), envp.data()) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (m_outPipe >= 0) close(m_outPipe);
    m_outPipe = -1;
}

std::string Tarnelctl::Out() const {
    return ReadText(m_dir.Path() / "out");
}

std::string Tarnelctl::Err() const {
    return ReadText(m_dir.Path() / "err");
}

void Tarnelctl::Interrupt(int signal) const {
    if (m_pid > 0) kill(m_pid, signal);
}

void Tarnelctl::Kill() const {
    if (m_pid > 0) kill(m_pid, SIGKILL);
}

CtlRun Tarnelctl::Finish(std::chrono::seconds limit) {
    CtlRun run;
    if (m_pid <= 0) return run;
    int status = 0;
    if (!test::WaitUntil([&] { return waitpid(m_pid, &status, WNOHANG) == m_pid; }, limit)) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &status, 0);
    } else if (WIFEXITED(status)) {
        run.exit = WEXITSTATUS(status);
    }
    m_pid = -1;
    run.out = Out();
    run.err = Err();
    return run;
}

void Tarnelctl::CloseOutput() {
    int ends[2];
    if (pipe(ends) != 0) return;
    close(ends[0]);
    m_outPipe = ends[1];
}

void Tarnelctl::SetEnv(const std::string& name, const std::string& value) {
    m_env.push_back(name + "=" + value);
}

std::string Tarnelctl::Publish(const std::string& name, const std::string& device) const {
    fs::create_directories(PortDir());
    fs::create_symlink(device, PortDir() / name);
    return (PortDir() / name).string();
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

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

}  // namespace tarnel::ctl
