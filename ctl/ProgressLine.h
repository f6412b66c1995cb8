#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

namespace tarnel::ctl {

// One line on the terminal that tells what a slow step is doing. It shows up
// only once the step has taken longer than a second, so quick commands print
// nothing, and never when the stream is not a terminal (a script's log gets
// no carriage returns). For a program that watches a line, the steps go out
// as JSON lines instead, each at once, from any thread.
class ProgressLine {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // `onTerminal`: whether `out` is a terminal (isatty of its descriptor).
    ProgressLine(std::ostream& out, bool onTerminal, Clock clock = std::chrono::steady_clock::now);
    // Clears the line.
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // From now on the steps are JSON lines, {"time","port","event"}, and
    // the progress line is not drawn.
    void SetJson(bool json) { m_json = json; }

    // A step that begins on `port`: `event` for a program ("writing"),
    // `text` for the progress line.
    void Step(const std::string& event, const std::string& port, const std::string& text);
    // Shows `text` in place of the previous one, once a second has passed
    // since construction.
    void Update(const std::string& text);
    // Removes the line, so that a message or a result can follow.
    void Clear();

private:
    static constexpr std::chrono::seconds kQuietTime{1};

    std::ostream& m_out;
    bool m_onTerminal;
    Clock m_clock;
    std::chrono::steady_clock::time_point m_start;
    bool m_shown = false;
    bool m_json = false;
};

}  // namespace tarnel::ctl
