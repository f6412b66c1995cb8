#pragma once

#include <chrono>
#include <cstdint>
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

    ModuleSnapshot Snapshot() const;

private:
    struct Event {
        TimePoint at;
        uint64_t order;
        std::function<void(TimePoint)> action;
    };

    void HandleLine(const std::string& line, TimePoint now);
    void HandleCommand(const std::string& name, const std::string& args, TimePoint now);
    void Answer(TimePoint now, std::function<void(TimePoint)> action);
    void Schedule(TimePoint at, std::function<void(TimePoint)> action);
    void RunDueEvents(TimePoint now);

    void Ok(TimePoint now);
    void Error(TimePoint now);
    void Response(TimePoint now, const std::string& line);
    void Data(TimePoint now, const std::string& line, TimePoint at);
    void Emit(const std::string& bytes, TimePoint at);

    void Reset(TimePoint now);
    void FactoryReset(TimePoint now);
    void StartInquiry(const std::string& args, TimePoint now);
    void StartScan(const std::string& args, TimePoint now);
    void Disconnect(TimePoint now);
    void Cancel(TimePoint now);
    void WriteName(const std::string& args, TimePoint now);
    void WriteUart(const std::string& args, TimePoint now);
    void WriteOpMode(const std::string& args, TimePoint now);
    void WriteTarget(const std::string& args, TimePoint now);
    void WriteQuietMode(const std::string& args, TimePoint now);
    void EndActivity();
    bool Hears() const;

    SimConfig m_config;
    ModuleSettings m_current;
    ModuleSettings m_written;
    ModuleState m_state;
    BdAddress m_peer;
    bool m_dataMode = false;
    uint64_t m_activity = 0;  // bumped whenever an inquiry or scan ends early
    std::optional<LineSettings> m_hostLine;
    bool m_hungUp = false;
    uint64_t m_receivedCount = 0;
    int m_resets = 0;
    int m_factoryResets = 0;
    std::string m_lineBuf;
    std::string m_received;
    std::vector<std::string> m_commands;
    std::vector<Event> m_events;
    uint64_t m_nextOrder = 0;
    std::string m_out;
    std::vector<TimePoint> m_outDue;  // due time of each byte of m_out
    TimePoint m_lineFreeAt;           // when the paced transmitter is next free
};

}  // namespace tarnel::sim
