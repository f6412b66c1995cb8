#pragma once

// The fixtures the page's tests share across their files: a page opened on a
// module and read, and what was sent since.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tests/config/ConfPageHarness.h"

namespace tarnel::test {

class TarnelConfPageApply : public testing::Test {
protected:
    // A fresh page on a module so configured, after its first read.
    void OpenIdle(sim::SimConfig config = {});
    std::vector<std::string> SentSinceRead() const;
    ConfPageHarness& H() { return *m_h; }

    std::unique_ptr<ConfPageHarness> m_h;
    std::size_t m_before = 0;
};

class TarnelConfPageSearch : public TarnelConfPageApply {
protected:
    bool WaitSearching();
    bool WaitRows(int rows);
};

// A module that reports two devices, one of them twice, from 2.2 s into an
// inquiry on.
sim::SimConfig SearchConfig(std::chrono::milliseconds inquiryTime);

}  // namespace tarnel::test
