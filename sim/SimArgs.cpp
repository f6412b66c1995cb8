#include "sim/SimArgs.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace tarnel::sim {

namespace {

constexpr std::size_t kMaxName = 32;
constexpr long long kMaxMs = 3'600'000;

std::vector<std::string> Split(const std::string& text, std::size_t maxFields) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() + 1 < maxFields) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) break;
        fields.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    fields.push_back(text.substr(start));
    return fields;
}

std::optional<long long> ParseInteger(const std::string& text, long long min, long long max) {
    std::size_t i = text.starts_with('-') ? 1 : 0;
    if (i == text.size() || text.size() > 12) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    if (text.starts_with('-')) value = -value;
    if (value < min || value > max) return std::nullopt;
    return value;
}

std::optional<uint32_t> ParseHex(const std::string& text) {
    std::string_view digits = text;
    if (digits.starts_with("0x") || digits.starts_with("0X")) digits.remove_prefix(2);
    if (digits.empty() || digits.size() > 6) return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        value =
            value * 16 + static_cast<uint32_t>(std::isdigit(static_cast<unsigned char>(c))
                                                   ? c - '0'
                                                   : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10);
    }
    return value;
}

// Turns \r, \n, \t, \\ and \xHH into their bytes.
std::optional<std::string> Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out.push_back(text[i]);
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
            case 'r':
                out.push_back('\r');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 't':
                out.push_back('\t');
                break;
            case '\\':
                out.push_back('\\');
                break;
            case 'x': {
                const auto byte = i + 2 < text.size() ? ParseHex(text.substr(i + 1, 2)) : std::nullopt;
                if (!byte) return std::nullopt;
                out.push_back(static_cast<char>(*byte));
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

// The inverse of Unescape: every control byte and the backslash escaped.
std::string Escape(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string CommandName(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string CheckName(const std::string& name) {
    if (name.empty() || name.size() > kMaxName) return "must be 1 to 32 bytes";
    if (name.find_first_of(",\r\n") != std::string::npos) return "must not hold a comma or a line break";
    return {};
}

struct Context {
    SimArgs& args;
    bool devicesGiven = false;
};

// Each handler applies one flag's value and returns an error text, or an
// empty one on success.
using Apply = std::function<std::string(Context&, const std::string&)>;

struct Flag {
    std::string_view name;
    std::string_view value;  // empty: the flag takes no value
    std::string_view help;
    Apply apply;
};

Apply Milliseconds(Duration SimConfig::*field) {
    return [field](Context& c, const std::string& value) -> std::string {
        const auto ms = ParseInteger(value, 0, kMaxMs);
        if (!ms) return "expected milliseconds from 0 to 3600000";
        c.args.config.*field = Duration(*ms);
        return {};
    };
}

// A flag without value that sets `field` to `value`.
Apply Switch(bool SimConfig::*field, bool value) {
    return [field, value](Context& c, const std::string&) {
        c.args.config.*field = value;
        return std::string();
    };
}

Apply Address(BdAddress& (*field)(SimArgs&)) {
    return [field](Context& c, const std::string& value) -> std::string {
        const auto address = ParseAddress(value);
        if (!address) return "expected 12 hexadecimal digits such as 001A7DDA7113";
        field(c.args) = *address;
        return {};
    };
}

Apply CommandSet(std::set<std::string> SimConfig::*field) {
    return [field](Context& c, const std::string& value) -> std::string {
        if (value.empty()) return "expected a command name such as AT+VER?";
        (c.args.config.*field).insert(CommandName(value));
        return {};
    };
}

std::string ApplyUart(Context& c, const std::string& value) {
    const auto fields = Split(value, 5);
    const char* expected = "expected BAUD,PARITY,STOPBITS[,FLOW] such as 9600,N,1,0";
    if (fields.size() < 3 || fields.size() > 4) return expected;
    const auto baud = ParseInteger(fields[0], 1, 921600);
    const auto parity = ParityLetterOf(fields[1]);
    const auto stopBits = ParseInteger(fields[2], 0, UINT8_MAX);
    const auto flow = fields.size() == 4 ? ParseInteger(fields[3], 0, 1) : 0;
    if (!baud || !parity || !stopBits || !IsStopBitCount(static_cast<uint32_t>(*stopBits)) || !flow)
        return expected;
    if (!IsModuleBaudRate(static_cast<uint32_t>(*baud))) return "the module has no baud rate " + fields[0];
    c.args.config.settings.uart = {{static_cast<uint32_t>(*baud), *parity, static_cast<uint8_t>(*stopBits)},
                                   static_cast<uint8_t>(*flow)};
    return {};
}

std::string ApplyDevice(Context& c, const std::string& value) {
    const auto fields = Split(value, 5);
    if (fields.size() != 5) return "expected ADDRESS,RSSI,COD,MS,NAME";
    const auto address = ParseAddress(fields[0]);
    const auto rssi = ParseInteger(fields[1], -128, 127);
    const auto cod = ParseHex(fields[2]);
    const auto after = ParseInteger(fields[3], 0, kMaxMs);
    if (!address) return "the address must be 12 hexadecimal digits";
    if (!rssi) return "the RSSI must be a number from -128 to 127";
    if (!cod) return "the class of device must be at most 6 hexadecimal digits";
    if (!after) return "the report time must be milliseconds from 0 to 3600000";
    if (fields[4].find_first_of("\r\n") != std::string::npos) return "the name must not hold a line break";
    // The first --device replaces the demonstration devices.
    if (!std::exchange(c.devicesGiven, true)) c.args.config.devices.clear();
    c.args.config.devices.push_back({*address, fields[4], static_cast<int>(*rssi), *cod, Duration(*after)});
    return {};
}

std::string ApplyDelay(Context& c, const std::string& value) {
    const std::size_t equals = value.find('=');
    const auto ms =
        equals == std::string::npos ? std::nullopt : ParseInteger(value.substr(equals + 1), 0, kMaxMs);
    if (equals == 0 || !ms) return "expected COMMAND=MS such as AT+DISC=1500";
    c.args.config.commandDelays[CommandName(value.substr(0, equals))] = Duration(*ms);
    return {};
}

std::string ApplyReply(Context& c, const std::string& value) {
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos || equals == 0)
        return "expected COMMAND=BYTES such as AT+VER?=\\r\\n+VER;1\\r\\n";
    const auto bytes = Unescape(value.substr(equals + 1));
    if (!bytes) return "bad escape in the bytes (use \\r \\n \\t \\\\ \\xHH)";
    c.args.config.replyOverrides[CommandName(value.substr(0, equals))] = *bytes;
    return {};
}

const std::vector<Flag>& Flags() {
    static const std::vector<Flag> flags = {
        {"--name", "TEXT", "device name, 1 to 32 UTF-8 bytes [Tarnel]",
         [](Context& c, const std::string& v) {
             auto error = CheckName(v);
             if (error.empty()) c.args.config.settings.name = v;
             return error;
         }},
        {"--address", "HEX12", "the module's Bluetooth address [001A7DDA7113]",
         Address([](SimArgs& a) -> BdAddress& { return a.config.address; })},
        {"--model", "TEXT", "model name [TARNEL-BT1]",
         [](Context& c, const std::string& v) {
             c.args.config.modelName = v;
             return v.empty() ? std::string("must not be empty") : std::string();
         }},
        {"--version", "TEXT", "firmware version [1.2.0]",
         [](Context& c, const std::string& v) {
             c.args.config.version = v;
             return v.empty() ? std::string("must not be empty") : std::string();
         }},
        {"--uart", "B,P,S[,F]", "UART: baud, parity N/E/O, stop bits 1/2, flow 0/1 [9600,N,1,0]", ApplyUart},
        {"--opmode", "N", "operation mode 0 to 3 [0]",
         [](Context& c, const std::string& v) {
             const auto mode = ParseInteger(v, 0, 3);
             if (mode) c.args.config.settings.opMode = static_cast<uint8_t>(*mode);
             return mode ? std::string() : std::string("expected 0 to 3");
         }},
        {"--quiet", "", "command responses off (quiet mode 1): no OK, ERROR, +CONN, +DISC",
         [](Context& c, const std::string&) {
             c.args.config.settings.quietMode = true;
             return std::string();
         }},
        {"--target", "HEX12", "connection target [none]",
         Address([](SimArgs& a) -> BdAddress& { return a.config.settings.target; })},
        {"--state", "WORD", "IDLE, SCANNING, INQUIRING, CONNECTING or CONNECTED [IDLE]",
         [](Context& c, const std::string& v) {
             const auto state = StateFromWord(v);
             if (state) c.args.config.state = *state;
             return state ? std::string()
                          : std::string("expected IDLE, SCANNING, INQUIRING, CONNECTING or CONNECTED");
         }},
        {"--peer", "HEX12", "the far end while connecting or connected [00025B00A5A5]",
         Address([](SimArgs& a) -> BdAddress& { return a.config.peer; })},
        {"--device", "A,R,C,MS,NAME",
         "a nearby device: address, RSSI, class of device (hex), report time into an inquiry, name; "
         "repeatable, replaces the three demonstration devices",
         ApplyDevice},
        {"--no-devices", "", "no device answers an inquiry",
         [](Context& c, const std::string&) {
             c.args.config.devices.clear();
             return std::string();
         }},
        {"--inquiry-time", "MS", "an inquiry ends with OK after this long [5000]",
         Milliseconds(&SimConfig::inquiryTime)},
        {"--reply-delay", "MS", "delay before each answer [0]", Milliseconds(&SimConfig::replyDelay)},
        {"--delay", "CMD=MS",
         "delay before the answer to CMD instead, e.g. one past the host's time limit; repeatable",
         ApplyDelay},
        {"--line-gap", "MS", "pause between any two lines the module sends [0]",
         Milliseconds(&SimConfig::lineGap)},
        {"--ok-delay", "MS", "pause between a query's data line and its OK [0]",
         Milliseconds(&SimConfig::okDelay)},
        {"--inquiry-ok", "", "answer AT+INQ with OK at once, before the first report",
         Switch(&SimConfig::inquiryOk, true)},
        {"--disc-delay", "MS", "delay of +DISC after the OK of AT+DISC [0]",
         Milliseconds(&SimConfig::discReportDelay)},
        {"--no-ok-after-data", "", "query commands send their data line without a following OK",
         Switch(&SimConfig::okAfterData, false)},
        {"--pace", "", "send output at the UART's byte rate", Switch(&SimConfig::paceOutput, true)},
        {"--silent", "CMD", "never answer CMD (its name up to '=', e.g. AT+VER? or AT+NAME); repeatable",
         CommandSet(&SimConfig::silentCommands)},
        {"--error", "CMD", "answer CMD with ERROR (AT+DISC: a module that refuses to disconnect); repeatable",
         CommandSet(&SimConfig::errorCommands)},
        {"--reply", "CMD=BYTES", "answer CMD with exactly BYTES (\\r \\n \\t \\\\ \\xHH escapes); repeatable",
         ApplyReply},
        {"--hang-up-after", "N", "hang up (close the line) when N bytes have arrived [never]",
         [](Context& c, const std::string& v) {
             const auto count = ParseInteger(v, 1, 1'000'000'000'000LL);
             if (count) c.args.config.hangUpAfterBytes = static_cast<uint64_t>(*count);
             return count ? std::string() : std::string("expected a positive number of bytes");
         }},
        {"--link", "NAME", "link name in the virtual port directory [tarnel-sim]",
         [](Context& c, const std::string& v) {
             c.args.linkName = v;
             return v.empty() || v.find('/') != std::string::npos ? std::string("expected a file name")
                                                                  : std::string();
         }},
        {"--no-link", "", "publish no link; use the printed /dev/pts path",
         [](Context& c, const std::string&) {
             c.args.publish = false;
             return std::string();
         }},
        {"--no-log", "", "do not print the commands received",
         [](Context& c, const std::string&) {
             c.args.logCommands = false;
             return std::string();
         }},
        {"--help", "", "print this help and exit",
         [](Context& c, const std::string&) {
             c.args.help = true;
             return std::string();
         }},
    };
    return flags;
}

const Flag* FindFlag(std::string_view name) {
    for (const Flag& flag : Flags()) {
        if (flag.name == name) return &flag;
    }
    return nullptr;
}

}  // namespace

SimArgs ParseSimArgs(const std::vector<std::string>& args) {
    SimArgs result;
    Context context{result};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const Flag* flag = arg.starts_with("--") ? FindFlag(name) : nullptr;
        if (flag == nullptr) {
            result.error =
                arg.starts_with("-") ? "unknown flag '" + name + "'" : "unexpected argument '" + arg + "'";
            return result;
        }
        std::string value;
        if (flag->value.empty()) {
            if (equals != std::string::npos) {
                result.error = name + " takes no value";
                return result;
            }
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            result.error = name + " needs a value (" + std::string(flag->value) + ")";
            return result;
        }
        if (const std::string error = flag->apply(context, value); !error.empty()) {
            result.error = name;
            result.error.append(" '").append(value).append("': ").append(error);
            return result;
        }
    }
    return result;
}

std::vector<std::string> FormatSimArgs(const SimConfig& config) {
    if (!(config.factory == ModuleSettings{}))
        throw std::invalid_argument("the factory settings have no flag");
    const ModuleSettings& settings = config.settings;
    const UartSettings& uart = settings.uart;
    auto ms = [](Duration d) { return std::to_string(d.count()); };
    std::vector<std::string> args = {
        "--name=" + settings.name,
        "--address=" + FormatAddress(config.address),
        "--model=" + config.modelName,
        "--version=" + config.version,
        "--uart=" + std::to_string(uart.line.baud) + "," + uart.line.parity + "," +
            std::to_string(uart.line.stopBits) + "," + std::to_string(uart.flowControl),
        "--opmode=" + std::to_string(settings.opMode),
        "--target=" + FormatAddress(settings.target),
        "--state=" + std::string(StateWord(config.state)),
        "--peer=" + FormatAddress(config.peer),
        "--inquiry-time=" + ms(config.inquiryTime),
        "--reply-delay=" + ms(config.replyDelay),
        "--line-gap=" + ms(config.lineGap),
        "--ok-delay=" + ms(config.okDelay),
        "--disc-delay=" + ms(config.discReportDelay),
    };
    auto add = [&](bool given, const char* flag) {
        if (given) args.emplace_back(flag);
    };
    add(settings.quietMode, "--quiet");
    add(config.inquiryOk, "--inquiry-ok");
    add(!config.okAfterData, "--no-ok-after-data");
    add(config.paceOutput, "--pace");
    add(config.devices.empty(), "--no-devices");
    for (const NearbyDevice& device : config.devices) {
        char cod[7];
        std::snprintf(cod, sizeof cod, "%06X", static_cast<unsigned>(device.classOfDevice));
        args.push_back("--device=" + FormatAddress(device.address) + "," + std::to_string(device.rssi) + "," +
                       cod + "," + ms(device.reportAfter) + "," + device.name);
    }
    for (const auto& [command, delay] : config.commandDelays)
        args.push_back("--delay=" + command + "=" + ms(delay));
    for (const std::string& command : config.silentCommands)
        args.push_back("--silent=" + command);
    for (const std::string& command : config.errorCommands)
        args.push_back("--error=" + command);
    for (const auto& [command, bytes] : config.replyOverrides)
        args.push_back("--reply=" + command + "=" + Escape(bytes));
    if (config.hangUpAfterBytes > 0)
        args.push_back("--hang-up-after=" + std::to_string(config.hangUpAfterBytes));
    return args;
}

std::string SimUsage() {
    std::string text =
        "Usage: tarnel-sim [FLAG]...\n"
        "Simulates a Tarnel module on a pseudo-terminal, published as a link in the\n"
        "virtual port directory so that Tarnel Manager's port list shows it. Prints the\n"
        "path and serves until interrupted (Ctrl+C, SIGTERM); removes its link on exit.\n"
        "The module answers only while the port's baud rate, parity and stop bits\n"
        "match its UART settings. Values in brackets are the defaults.\n\n"
        "Flags (a value may also follow as --flag=VALUE):\n";
    for (const Flag& flag : Flags()) {
        // Appended piece by piece: mingw's GCC 12 sees a bogus overlap in
        // "  " + std::string(...).
        std::string head = "  ";
        head += flag.name;
        if (!flag.value.empty()) head.append(" ").append(flag.value);
        if (head.size() < 26)
            head.resize(26, ' ');
        else
            head += "\n" + std::string(26, ' ');
        text += head + std::string(flag.help) + "\n";
    }
    return text;
}

}  // namespace tarnel::sim
