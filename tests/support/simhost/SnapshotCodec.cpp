#include "tests/support/simhost/SnapshotCodec.h"

#include <cstddef>

namespace tarnel::test {
namespace {

using sim::ModuleSettings;

void PutLine(Fields& out, const LineSettings& line) {
    out.push_back(std::to_string(line.baud));
    out.push_back(std::string(1, line.parity));
    out.push_back(std::to_string(line.stopBits));
}

void PutSettings(Fields& out, const ModuleSettings& settings) {
    out.push_back(settings.name);
    PutLine(out, settings.uart.line);
    out.push_back(std::to_string(settings.uart.flowControl));
    out.push_back(std::to_string(settings.opMode));
    out.push_back(settings.quietMode ? "1" : "0");
    out.push_back(sim::FormatAddress(settings.target));
}

// Reads the fields in the order the Put functions wrote them.
class Reader {
public:
    explicit Reader(const Fields& fields) : m_fields(fields) {}

    const std::string& Text() {
        if (m_next == m_fields.size()) throw std::invalid_argument("a snapshot field is missing");
        return m_fields[m_next++];
    }
    long long Number() {
        const std::string& text = Text();
        std::size_t used = 0;
        const long long value = std::stoll(text, &used);
        if (used != text.size()) throw std::invalid_argument("not a number: " + text);
        return value;
    }
    bool Flag() { return Number() != 0; }
    sim::BdAddress Address() {
        const auto address = sim::ParseAddress(Text());
        if (!address) throw std::invalid_argument("not an address");
        return *address;
    }
    LineSettings Line() {
        LineSettings line;
        line.baud = static_cast<uint32_t>(Number());
        line.parity = Text().at(0);
        line.stopBits = static_cast<uint8_t>(Number());
        return line;
    }
    ModuleSettings Settings() {
        ModuleSettings settings;
        settings.name = Text();
        settings.uart.line = Line();
        settings.uart.flowControl = static_cast<uint8_t>(Number());
        settings.opMode = static_cast<uint8_t>(Number());
        settings.quietMode = Flag();
        settings.target = Address();
        return settings;
    }
    std::vector<std::string> Rest() {
        return {m_fields.begin() + static_cast<std::ptrdiff_t>(m_next), m_fields.end()};
    }

private:
    const Fields& m_fields;
    std::size_t m_next = 0;
};

}  // namespace

Fields EncodeSnapshot(const sim::ModuleSnapshot& snapshot) {
    Fields out;
    PutSettings(out, snapshot.current);
    PutSettings(out, snapshot.written);
    out.push_back(std::string(sim::StateWord(snapshot.state)));
    out.push_back(sim::FormatAddress(snapshot.peer));
    out.push_back(snapshot.dataMode ? "1" : "0");
    out.push_back(snapshot.hostLine ? "1" : "0");
    PutLine(out, snapshot.hostLine.value_or(LineSettings{}));
    out.push_back(snapshot.hostLineMatches ? "1" : "0");
    out.push_back(snapshot.hungUp ? "1" : "0");
    out.push_back(std::to_string(snapshot.resets));
    out.push_back(std::to_string(snapshot.factoryResets));
    out.push_back(snapshot.received);
    out.insert(out.end(), snapshot.commands.begin(), snapshot.commands.end());
    return out;
}

sim::ModuleSnapshot DecodeSnapshot(const Fields& fields) {
    Reader in(fields);
    sim::ModuleSnapshot snapshot;
    snapshot.current = in.Settings();
    snapshot.written = in.Settings();
    const auto state = sim::StateFromWord(in.Text());
    if (!state) throw std::invalid_argument("not a module state");
    snapshot.state = *state;
    snapshot.peer = in.Address();
    snapshot.dataMode = in.Flag();
    const bool hasHostLine = in.Flag();
    const LineSettings hostLine = in.Line();
    if (hasHostLine) snapshot.hostLine = hostLine;
    snapshot.hostLineMatches = in.Flag();
    snapshot.hungUp = in.Flag();
    snapshot.resets = static_cast<int>(in.Number());
    snapshot.factoryResets = static_cast<int>(in.Number());
    snapshot.received = in.Text();
    snapshot.commands = in.Rest();
    return snapshot;
}

}  // namespace tarnel::test
