#include "sim/ModuleModel.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <utility>

namespace tarnel::sim {

namespace {

// A host never sends more than this in one command; longer lines are refused.
constexpr std::size_t kMaxLine = 256;
constexpr std::size_t kMaxName = 32;

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) return fields;
        start = comma + 1;
    }
}

std::optional<uint32_t> ParseNumber(const std::string& text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value;
}

std::chrono::nanoseconds ByteTime(const LineSettings& line) {
    const int bits = 1 + 8 + (ParityFromLetter(line.parity) == PARITY_NONE ? 0 : 1) + line.stopBits;
    return std::chrono::nanoseconds(bits * 1'000'000'000LL / std::max<uint32_t>(line.baud, 1));
}

}  // namespace

ModuleModel::ModuleModel(SimConfig config, TimePoint now)
    : m_config(std::move(config)),
      m_current(m_config.settings),
      m_written(m_config.settings),
      m_state(m_config.state),
      m_peer(m_config.peer),
      m_dataMode(m_config.state == ModuleState::Connected),
      m_lineFreeAt(now - m_config.lineGap) {}

const ModuleModel::Command* ModuleModel::FindCommand(std::string_view name) {
    static const std::array<Command, 19> kCommands = {{
        {"AT", false, &ModuleModel::OnAt},
        {"ATZ", false, &ModuleModel::OnReset},
        {"AT&F", false, &ModuleModel::OnFactoryReset},
        {"AT+MODELNAME?", false, &ModuleModel::OnModelName},
        {"AT+VER?", false, &ModuleModel::OnVersion},
        {"AT+INFO1?", false, &ModuleModel::OnInfo1},
        {"AT+INFO2?", false, &ModuleModel::OnInfo2},
        {"AT+OPCANCEL", false, &ModuleModel::OnCancel},
        {"AT+INQ", true, &ModuleModel::OnInquiry},
        {"AT+SCAN", true, &ModuleModel::OnScan},
        {"AT+TADDR?", false, &ModuleModel::OnTargetQuery},
        {"AT+TADDR", true, &ModuleModel::OnTargetWrite},
        {"AT+QM?", false, &ModuleModel::OnQuietQuery},
        {"AT+QM", true, &ModuleModel::OnQuietWrite},
        {"AT+NAME", true, &ModuleModel::OnNameWrite},
        {"AT+UART", true, &ModuleModel::OnUartWrite},
        {"AT+OPMODE", true, &ModuleModel::OnOpModeWrite},
        {"+++", false, &ModuleModel::OnEscape},
        {"AT+DISC", false, &ModuleModel::OnDisconnect},
    }};
    for (const Command& command : kCommands) {
        if (command.name == name) return &command;
    }
    return nullptr;
}

void ModuleModel::SetHostLine(const LineSettings& host) {
    m_hostLine = host;
}

bool ModuleModel::Hears() const {
    return !m_hostLine || *m_hostLine == m_current.uart.line;
}

void ModuleModel::Receive(std::string_view bytes, TimePoint now) {
    RunDueEvents(now);
    for (char c : bytes) {
        if (m_hungUp) return;
        TakeByte(c, now);
    }
}

void ModuleModel::TakeByte(char c, TimePoint now) {
    m_received.push_back(c);
    if (m_config.hangUpAfterBytes != 0 && m_received.size() >= m_config.hangUpAfterBytes) {
        m_hungUp = true;
        m_events.clear();
        m_out.clear();
        m_outDue.clear();
        return;
    }
    if (!Hears()) {
        // A framing error: whatever line was being typed is garbage now.
        m_lineBuf.clear();
        return;
    }
    if (c == '\n') return;
    if (c != '\r') {
        if (m_lineBuf.size() < kMaxLine)
            m_lineBuf.push_back(c);
        else
            m_lineOverflow = true;
        return;
    }
    const std::string line = std::exchange(m_lineBuf, {});
    if (std::exchange(m_lineOverflow, false)) {
        m_commands.push_back(line);
        if (!m_dataMode) Schedule(now + m_config.replyDelay, [this](TimePoint at) { Error(at); });
        return;
    }
    if (!line.empty()) HandleLine(line, now);
}

void ModuleModel::HandleLine(std::string line, TimePoint now) {
    m_commands.push_back(line);
    if (m_dataMode) {
        // Everything else goes to the peer; only the escape is heard here.
        if (!line.ends_with("+++")) return;
        m_dataMode = false;
        line = "+++";
    }
    const std::size_t equals = line.find('=');
    const bool hasArgs = equals != std::string::npos;
    const std::string name = Upper(line.substr(0, equals));
    const std::string args = hasArgs ? line.substr(equals + 1) : std::string();
    const auto delay = m_config.commandDelays.find(name);
    const TimePoint at = now + (delay != m_config.commandDelays.end() ? delay->second : m_config.replyDelay);

    if (m_config.silentCommands.contains(name)) return;
    if (auto found = m_config.replyOverrides.find(name); found != m_config.replyOverrides.end()) {
        Schedule(at, [this, bytes = found->second](TimePoint when) { Emit(bytes, when); });
        return;
    }
    const Command* command = FindCommand(name);
    if (m_config.errorCommands.contains(name) || command == nullptr || command->takesArgs != hasArgs) {
        Schedule(at, [this](TimePoint when) { Error(when); });
        return;
    }
    Schedule(at, [this, handler = command->handler, args](TimePoint when) { (this->*handler)(args, when); });
}

void ModuleModel::Schedule(TimePoint at, std::function<void(TimePoint)> action) {
    m_events.push_back({at, m_nextOrder++, std::move(action)});
}

void ModuleModel::RunDueEvents(TimePoint now) {
    for (;;) {
        auto next = std::min_element(m_events.begin(), m_events.end(), [](const Event& a, const Event& b) {
            return a.at != b.at ? a.at < b.at : a.order < b.order;
        });
        if (next == m_events.end() || next->at > now) return;
        Event event = std::move(*next);
        m_events.erase(next);
        // The event's own time, not `now`: output timing does not depend on
        // how late the caller polls.
        event.action(event.at);
    }
}

std::string ModuleModel::TakeOutput(TimePoint now) {
    RunDueEvents(now);
    std::size_t due = 0;
    while (due < m_outDue.size() && m_outDue[due] <= now)
        ++due;
    std::string out = m_out.substr(0, due);
    m_out.erase(0, due);
    m_outDue.erase(m_outDue.begin(), m_outDue.begin() + static_cast<std::ptrdiff_t>(due));
    return out;
}

std::optional<ModuleModel::TimePoint> ModuleModel::NextWake() const {
    std::optional<TimePoint> wake;
    if (!m_outDue.empty()) wake = m_outDue.front();
    for (const Event& event : m_events) {
        if (!wake || event.at < *wake) wake = event.at;
    }
    return wake;
}

void ModuleModel::ConnectPeer(const BdAddress& peer, TimePoint now) {
    RunDueEvents(now);
    if (m_hungUp || (m_state != ModuleState::Idle && m_state != ModuleState::Connecting)) return;
    EndActivity();
    m_state = ModuleState::Connected;
    m_peer = peer;
    m_dataMode = true;
    Report("+CONN," + FormatAddress(peer), now);
}

ModuleSnapshot ModuleModel::Snapshot() const {
    ModuleSnapshot snapshot;
    snapshot.current = m_current;
    snapshot.written = m_written;
    snapshot.state = m_state;
    snapshot.peer = m_peer;
    snapshot.dataMode = m_dataMode;
    snapshot.hostLine = m_hostLine;
    snapshot.hostLineMatches = m_hostLine && *m_hostLine == m_current.uart.line;
    snapshot.hungUp = m_hungUp;
    snapshot.resets = m_resets;
    snapshot.factoryResets = m_factoryResets;
    snapshot.received = m_received;
    snapshot.commands = m_commands;
    return snapshot;
}

ModuleModel::TimePoint ModuleModel::Emit(const std::string& bytes, TimePoint at) {
    // A host on another framing would only see noise; it gets nothing.
    if (m_hungUp || !Hears()) return at;
    // Lines leave one after the other: a later one never overtakes one held
    // back by a pause.
    TimePoint due = std::max(at, m_lineFreeAt + m_config.lineGap);
    const auto byteTime = m_config.paceOutput ? ByteTime(m_current.uart.line) : std::chrono::nanoseconds(0);
    for (char c : bytes) {
        due += byteTime;
        m_out.push_back(c);
        m_outDue.push_back(due);
    }
    m_lineFreeAt = due;
    return due;
}

ModuleModel::TimePoint ModuleModel::Ok(TimePoint at) {
    return m_current.quietMode ? at : Emit("\r\nOK\r\n", at);
}

void ModuleModel::Error(TimePoint at) {
    if (!m_current.quietMode) Emit("\r\nERROR\r\n", at);
}

void ModuleModel::Report(const std::string& line, TimePoint at) {
    if (!m_current.quietMode) Data(line, at);
}

ModuleModel::TimePoint ModuleModel::Data(const std::string& line, TimePoint at) {
    return Emit("\r\n" + line + "\r\n", at);
}

void ModuleModel::Query(const std::string& line, TimePoint at) {
    const TimePoint sent = Data(line, at);
    if (m_config.okAfterData) Ok(sent + m_config.okDelay);
}

void ModuleModel::EndActivity() {
    ++m_activity;
    if (m_state != ModuleState::Connected) m_state = ModuleState::Idle;
}

void ModuleModel::OnAt(const std::string&, TimePoint at) {
    Ok(at);
}

void ModuleModel::OnReset(const std::string&, TimePoint at) {
    // The answer leaves on the old settings; the reset then puts the written
    // ones in effect, so a new baud rate needs the host to follow.
    Ok(at);
    m_current = m_written;
    ++m_activity;
    m_state = ModuleState::Idle;
    m_dataMode = false;
    ++m_resets;
}

void ModuleModel::OnFactoryReset(const std::string&, TimePoint at) {
    Ok(at);
    m_current = m_written = m_config.factory;
    ++m_activity;
    m_state = ModuleState::Idle;
    m_dataMode = false;
    ++m_factoryResets;
}

void ModuleModel::OnModelName(const std::string&, TimePoint at) {
    Query("+MODELNAME," + m_config.modelName, at);
}

void ModuleModel::OnVersion(const std::string&, TimePoint at) {
    Query("+VER," + m_config.version, at);
}

void ModuleModel::OnInfo1(const std::string&, TimePoint at) {
    Query("+INFO1," + FormatAddress(m_config.address) + "," + m_current.name + "," +
              std::to_string(m_current.opMode) + "," + std::string(StateWord(m_state)),
          at);
}

void ModuleModel::OnInfo2(const std::string&, TimePoint at) {
    Query("+INFO2," + std::to_string(m_current.uart.flowControl) + ",0,0,0,0", at);
}

void ModuleModel::OnCancel(const std::string&, TimePoint at) {
    if (m_state == ModuleState::Scanning || m_state == ModuleState::Inquiring ||
        m_state == ModuleState::Connecting)
        EndActivity();
    Ok(at);
}

void ModuleModel::OnInquiry(const std::string& args, TimePoint at) {
    const auto fields = SplitFields(args);
    const auto seconds = fields.size() == 2 ? ParseNumber(fields[0]) : std::nullopt;
    if (!seconds || *seconds == 0 || !ParseNumber(fields[1]) || m_state != ModuleState::Idle) {
        Error(at);
        return;
    }
    // Reports come as devices are found, and OK ends the inquiry; some modules
    // also acknowledge the command at once.
    if (m_config.inquiryOk) Ok(at);
    EndActivity();
    m_state = ModuleState::Inquiring;
    const uint64_t inquiry = m_activity;
    const Duration length = std::min<Duration>(m_config.inquiryTime, std::chrono::seconds(*seconds));
    for (const NearbyDevice& device : m_config.devices) {
        if (device.reportAfter >= length) continue;
        char codAndRssi[32];
        std::snprintf(codAndRssi, sizeof codAndRssi, ",%06X,%d,", device.classOfDevice & 0xFFFFFFu,
                      device.rssi);
        const std::string line = "+INQ," + FormatAddress(device.address) + codAndRssi + device.name;
        Schedule(at + device.reportAfter, [this, inquiry, line](TimePoint when) {
            if (m_activity == inquiry) Data(line, when);
        });
    }
    Schedule(at + length, [this, inquiry](TimePoint when) {
        if (m_activity != inquiry) return;
        EndActivity();
        Ok(when);
    });
}

void ModuleModel::OnScan(const std::string& args, TimePoint at) {
    const auto fields = SplitFields(args);
    const auto seconds = fields.size() == 2 ? ParseNumber(fields[1]) : std::nullopt;
    if (!seconds || !ParseNumber(fields[0]) || m_state != ModuleState::Idle) {
        Error(at);
        return;
    }
    EndActivity();
    m_state = ModuleState::Scanning;
    const uint64_t scan = m_activity;
    Ok(at);
    Schedule(at + std::chrono::seconds(*seconds), [this, scan](TimePoint) {
        if (m_activity == scan) EndActivity();
    });
}

void ModuleModel::OnTargetQuery(const std::string&, TimePoint at) {
    Query("+TADDR," + FormatAddress(m_current.target), at);
}

void ModuleModel::OnTargetWrite(const std::string& args, TimePoint at) {
    const auto target = ParseAddress(args);
    if (!target) {
        Error(at);
        return;
    }
    m_current.target = m_written.target = *target;
    Ok(at);
}

void ModuleModel::OnQuietQuery(const std::string&, TimePoint at) {
    Query(m_current.quietMode ? "+QM,1" : "+QM,0", at);
}

void ModuleModel::OnQuietWrite(const std::string& args, TimePoint at) {
    if (args != "0" && args != "1") {
        Error(at);
        return;
    }
    // Takes effect at once, so switching responses off is not answered.
    m_current.quietMode = m_written.quietMode = args == "1";
    Ok(at);
}

void ModuleModel::OnNameWrite(const std::string& args, TimePoint at) {
    // A comma would split the name field of the information line.
    if (args.empty() || args.size() > kMaxName || args.find(',') != std::string::npos) {
        Error(at);
        return;
    }
    m_written.name = args;
    Ok(at);
}

void ModuleModel::OnUartWrite(const std::string& args, TimePoint at) {
    const auto fields = SplitFields(args);
    if (fields.size() != 4) {
        Error(at);
        return;
    }
    const auto baud = ParseNumber(fields[0]);
    const auto parity = ParityLetterOf(fields[1]);
    const auto stopBits = ParseNumber(fields[2]);
    const auto flow = ParseNumber(fields[3]);
    const bool valid = baud && IsModuleBaudRate(*baud) && parity && stopBits && IsStopBitCount(*stopBits) &&
                       flow && *flow <= 1;
    if (!valid) {
        Error(at);
        return;
    }
    m_written.uart = {{*baud, *parity, static_cast<uint8_t>(*stopBits)}, static_cast<uint8_t>(*flow)};
    Ok(at);
}

void ModuleModel::OnOpModeWrite(const std::string& args, TimePoint at) {
    const auto mode = ParseNumber(args);
    if (!mode || *mode > 3) {
        Error(at);
        return;
    }
    m_written.opMode = static_cast<uint8_t>(*mode);
    Ok(at);
}

void ModuleModel::OnEscape(const std::string&, TimePoint at) {
    Ok(at);
}

void ModuleModel::OnDisconnect(const std::string&, TimePoint at) {
    if (m_state != ModuleState::Connected) {
        Error(at);
        return;
    }
    Ok(at);
    const uint64_t link = m_activity;
    Schedule(at + m_config.discReportDelay, [this, link](TimePoint when) {
        if (m_activity != link || m_state != ModuleState::Connected) return;
        ++m_activity;
        m_state = ModuleState::Idle;
        m_dataMode = false;
        Report("+DISC," + FormatAddress(m_peer), when);
    });
}

}  // namespace tarnel::sim
