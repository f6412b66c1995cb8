#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

namespace tarnel::ctl {

// One line on the terminal that tells what a slow step is doing. It shows up
// only once the step has taken longer than a second, so quick commands print
// nothing, and never when the stream is not a terminal (a script's log gets
// no carriage returns).
class ProgressLine {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // `onTerminal`: whether `out` is a terminal (isatty of its descriptor).
    ProgressLine(std::ostream& out, bool onTerminal, Clock clock = std::chrono::steady_clock::now);
    // Clears the line.
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

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
};

}  // namespace tarnel::ctl
