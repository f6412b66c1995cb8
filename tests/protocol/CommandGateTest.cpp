#include "protocol/CommandGate.h"

#include <gtest/gtest.h>

#include <future>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(CommandGate, OneHolderAtATime) {
    std::atomic<bool> closing{false};
    CommandGate gate(closing);
    ASSERT_EQ(gate.Enter(5000ms), CommandGate::Entry::Entered);
    auto second = std::async(std::launch::async, [&] { return gate.Enter(100ms); });
    EXPECT_EQ(second.wait_for(100ms), std::future_status::timeout);
    gate.Leave();
    ASSERT_EQ(second.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(second.get(), CommandGate::Entry::Entered);
    gate.Leave();
}

TEST(CommandGate, WaiterGivesUpWhenTheHolderOverrunsItsLimit) {
    std::atomic<bool> closing{false};
    CommandGate gate(closing);
    ASSERT_EQ(gate.Enter(200ms), CommandGate::Entry::Entered);
    const auto start = Clock::now();
    EXPECT_EQ(gate.Enter(100ms), CommandGate::Entry::TimedOut);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, 200ms);
    EXPECT_LT(waited, 200ms + CommandGate::GRACE + 2000ms);
    gate.Leave();
}

TEST(CommandGate, ClosingReleasesWaitersAndRefusesNewCallers) {
    std::atomic<bool> closing{false};
    CommandGate gate(closing);
    ASSERT_EQ(gate.Enter(60000ms), CommandGate::Entry::Entered);
    auto waiter = std::async(std::launch::async, [&] { return gate.Enter(100ms); });
    closing = true;
    gate.WakeAll();
    ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(waiter.get(), CommandGate::Entry::Closing);
    gate.Leave();
    EXPECT_EQ(gate.Enter(100ms), CommandGate::Entry::Closing);
}

}  // namespace
