#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/ModuleSnapshot.h"
#include "sim/SimConfig.h"
#include "sim/UartSettings.h"

namespace tarnel::sim {

// The module as a state machine: bytes in, bytes out, time passed in by the
// caller (so tests drive it with a fake clock). No I/O, no threads, not
// thread-safe: one owner calls it.
//
// Input is cut into lines at CR (LF is ignored). Answers are CR LF framed:
// CR LF "OK" CR LF, CR LF "ERROR" CR LF, CR LF "+KEYWORD," fields CR LF.
// The module hears the host only while the host's line framing (SetHostLine)
// equals its own UART framing; otherwise what it receives is noise to it and
// what it would send is lost, as with a wrong baud rate on real hardware.
class ModuleModel {
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    ModuleModel(SimConfig config, TimePoint now);

    // The host's framing; until the first call the host counts as matching.
    void SetHostLine(const LineSettings& host);

    // Bytes from the host arriving at `now`.
    void Receive(std::string_view bytes, TimePoint now);

    // Runs whatever fell due by `now` and returns the bytes due for the host
    // by then (all at once, or at the UART's byte rate when paced).
    std::string TakeOutput(TimePoint now);

    // When TakeOutput next has something to do; nothing while idle.
    std::optional<TimePoint> NextWake() const;

    // A remote device connects: the module reports +CONN and enters data mode.
    // Ignored unless the module is idle or connecting.
    void ConnectPeer(const BdAddress& peer, TimePoint now);

    // True once `hangUpAfterBytes` bytes arrived; the module then ignores all
    // input and sends nothing more.
    bool HungUp() const { return m_hungUp; }

    // Every byte that reached the module, and every CR-ended line it read.
    const std::string& Received() const { return m_received; }
    const std::vector<std::string>& Commands() const { return m_commands; }

    ModuleSnapshot Snapshot() const;

private:
    using Handler = void (ModuleModel::*)(const std::string& args, TimePoint at);
    struct Command {
        std::string_view name;
        bool takesArgs;
        Handler handler;
    };
    struct Event {
        TimePoint at;
        uint64_t order;
        std::function<void(TimePoint)> action;
    };

    static const Command* FindCommand(std::string_view name);

    void TakeByte(char c, TimePoint now);
    void HandleLine(std::string line, TimePoint now);
    void Schedule(TimePoint at, std::function<void(TimePoint)> action);
    void RunDueEvents(TimePoint now);
    bool Hears() const;

    // Queues `bytes` as one line behind what is queued; returns when its last
    // byte has left.
    TimePoint Emit(const std::string& bytes, TimePoint at);
    TimePoint Ok(TimePoint at);
    void Error(TimePoint at);
    void Report(const std::string& line, TimePoint at);
    TimePoint Data(const std::string& line, TimePoint at);
    void Query(const std::string& line, TimePoint at);
    void EndActivity();

    void OnAt(const std::string& args, TimePoint at);
    void OnReset(const std::string& args, TimePoint at);
    void OnFactoryReset(const std::string& args, TimePoint at);
    void OnModelName(const std::string& args, TimePoint at);
    void OnVersion(const std::string& args, TimePoint at);
    void OnInfo1(const std::string& args, TimePoint at);
    void OnInfo2(const std::string& args, TimePoint at);
    void OnCancel(const std::string& args, TimePoint at);
    void OnInquiry(const std::string& args, TimePoint at);
    void OnScan(const std::string& args, TimePoint at);
    void OnTargetQuery(const std::string& args, TimePoint at);
    void OnTargetWrite(const std::string& args, TimePoint at);
    void OnQuietQuery(const std::string& args, TimePoint at);
    void OnQuietWrite(const std::string& args, TimePoint at);
    void OnNameWrite(const std::string& args, TimePoint at);
    void OnUartWrite(const std::string& args, TimePoint at);
    void OnOpModeWrite(const std::string& args, TimePoint at);
    void OnEscape(const std::string& args, TimePoint at);
    void OnDisconnect(const std::string& args, TimePoint at);

    SimConfig m_config;
    ModuleSettings m_current;
    ModuleSettings m_written;
    ModuleState m_state;
    BdAddress m_peer;
    bool m_dataMode;
    uint64_t m_activity = 0;  // bumped when an inquiry, scan or link ends, so its pending events lapse
    std::optional<LineSettings> m_hostLine;
    bool m_hungUp = false;
    int m_resets = 0;
    int m_factoryResets = 0;
    std::string m_lineBuf;
    bool m_lineOverflow = false;
    std::string m_received;
    std::vector<std::string> m_commands;
    std::vector<Event> m_events;
    uint64_t m_nextOrder = 0;
    std::string m_out;
    std::deque<TimePoint> m_outDue;  // when each byte of m_out has fully left the UART
    TimePoint m_lineFreeAt;          // when the transmitter is free again
};

}  // namespace tarnel::sim
