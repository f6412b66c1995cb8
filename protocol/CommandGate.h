#pragma once

// Lets one caller at a time into the command engine. The window thread's
// reset command can coincide with the worker's commands; the later caller
// waits, but no longer than the running call's own time limit (plus a short
// grace), and not at all once the engine is closing.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

class CommandGate {
public:
    enum class Entry {
        Entered,   // the caller holds the gate and must call Leave
        Closing,   // the engine is closing; the caller does not hold the gate
        TimedOut,  // the running call overran its limit; the caller does not hold the gate
    };

    // Grace beyond the holder's limit: one wait slice and the handler time,
    // which a call may take beyond its limit.
    static constexpr std::chrono::milliseconds GRACE{100};

    explicit CommandGate(const std::atomic<bool>& closing) : m_closing(closing) {}

    // Waits for the gate; on Entered the caller holds it for at most `holdLimit`.
    Entry Enter(std::chrono::milliseconds holdLimit);
    void Leave();
    // Wakes every waiting caller; call after setting the closing flag.
    void WakeAll();
    // Waits until no caller holds the gate; with the closing flag set, none
    // enters after that.
    void AwaitFree();

private:
    using Clock = std::chrono::steady_clock;

    const std::atomic<bool>& m_closing;
    std::mutex m_mutex;
    std::condition_variable m_cond;
    bool m_held = false;
    Clock::time_point m_heldUntil;
};
