#include "ctl/ProgressLine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tarnel::ctl {
namespace {

using namespace std::chrono_literals;

class ProgressLineTest : public ::testing::Test {
protected:
    ProgressLine::Clock Clock() {
        return [this] { return m_now; };
    }
    std::chrono::steady_clock::time_point m_now{};
    std::ostringstream m_out;
};

TEST_F(ProgressLineTest, ShowsOnATerminalOnlyAfterASecondAndClearsItself) {
    {
        ProgressLine progress(m_out, true, Clock());
        progress.Update("Reading");
        m_now += 1s;
        progress.Update("Reading");
        EXPECT_EQ(m_out.str(), "");
        m_now += 1ms;
        progress.Update("Reading the settings");
        progress.Update("Searching");
        EXPECT_EQ(m_out.str(), "\r\x1b[KReading the settings\r\x1b[KSearching");
        progress.Clear();
        progress.Clear();
        EXPECT_EQ(m_out.str(), "\r\x1b[KReading the settings\r\x1b[KSearching\r\x1b[K");
        progress.Update("Verifying");
    }
    EXPECT_EQ(m_out.str(), "\r\x1b[KReading the settings\r\x1b[KSearching\r\x1b[K\r\x1b[KVerifying\r\x1b[K");
}

TEST_F(ProgressLineTest, PrintsNothingWhenNotOnATerminal) {
    {
        ProgressLine progress(m_out, false, Clock());
        m_now += 5s;
        progress.Update("Searching");
    }
    EXPECT_EQ(m_out.str(), "");
}

}  // namespace
}  // namespace tarnel::ctl
