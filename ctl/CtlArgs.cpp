#include "ctl/CtlArgs.h"

#include <algorithm>
#include <string_view>

#include "ctl/Messages.h"
#include "ctl/ParseUnsigned.h"
#include "module/DeviceNameError.h"
#include "protocol/Utf8SequenceLength.h"

namespace tarnel::ctl {
namespace {

constexpr unsigned Bit(Command command) {
    return 1u << static_cast<unsigned>(command);
}

constexpr unsigned kModuleCommands =
    Bit(Command::Info) | Bit(Command::Set) | Bit(Command::Reset) | Bit(Command::Search) | Bit(Command::Find);
constexpr unsigned kAllCommands = kModuleCommands | Bit(Command::Ports) | Bit(Command::Provision);
constexpr unsigned kSetCommands = Bit(Command::Set) | Bit(Command::Provision);

struct CommandName {
    std::string_view name;
    Command command;
};
constexpr CommandName kCommands[] = {
    {"ports", Command::Ports},        {"info", Command::Info},     {"set", Command::Set},
    {"reset", Command::Reset},        {"search", Command::Search}, {"find", Command::Find},
    {"provision", Command::Provision}};

struct OptionSpec {
    std::string_view name;
    char shortName;  // '\0': none
    bool takesValue;
    unsigned commands;  // Bit() of each command that takes it
};
// The short forms are those of the serial tools where they mean the same
// (-l line, -v verbose, -y yes); -V is the version.
constexpr OptionSpec kOptions[] = {
    {"--json", 'j', false, kAllCommands},
    // find tries every framing itself.
    {"--line", 'l', true, kAllCommands & ~Bit(Command::Ports) & ~Bit(Command::Find)},
    {"--name", 'n', true, kSetCommands},
    {"--uart", 'u', true, kSetCommands},
    {"--mode", 'm', true, kSetCommands},
    {"--target", 't', true, kSetCommands},
    {"--responses", 'r', true, kSetCommands},
    {"--yes", 'y', false, Bit(Command::Reset)},
    {"--seconds", 's', true, Bit(Command::Search)},
    {"--first", 'f', true, Bit(Command::Provision)},
    {"--port", 'p', true, Bit(Command::Provision)},
    {"--watch", 'w', false, Bit(Command::Provision)},
    {"--trace", 'v', false, kAllCommands},
};

constexpr uint64_t kMaxSeconds = 86400;
constexpr uint64_t kMaxFirst = 999999999;

struct GivenOption {
    const OptionSpec* known;
    std::string value;
};

std::string Trimmed(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t\r\n\v\f");
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n\v\f") - begin + 1);
}

std::string CommandText(Command command) {
    for (const auto& entry : kCommands)
        if (entry.command == command) return std::string(entry.name);
    return {};
}

std::string ApplyTarget(const std::string& value, CtlArgs& args) {
    const std::string text = Trimmed(value);
    BdAddr target;
    if (!ParseBdAddr(text, target))
        return Msg(IDS_TARGET_ADDRESS_INVALID) + " Expected 12 hexadecimal digits, such as 0011223344AA.";
    if (target.IsUnset())
        return Msg(IDS_TARGET_ADDRESS_INVALID) + " " + text +
               " means that no target is set; a target, once set, is cleared only by a factory reset "
               "('tarnelctl reset').";
    args.settings.target = target;
    return {};
}

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string ApplyName(const std::string& value, CtlArgs& args) {
    // The module stores bytes; what it would show for broken UTF-8 is nobody's name.
    if (!IsUtf8(value)) return "The device name must be UTF-8 text.";
    if (args.command == Command::Provision) {
        NamePattern pattern;
        if (auto error = pattern.Parse(value); !error.empty()) return error;
        args.namePattern = std::move(pattern);
        return {};
    }
    if (const int error = DeviceNameError(value)) return Msg(error);
    args.settings.name = value;
    return {};
}

std::string ApplyOnOff(const GivenOption& option, bool& flag) {
    if (option.value != "on" && option.value != "off")
        return std::string(option.known->name) + " must be on or off, not '" + option.value + "'.";
    flag = option.value == "on";
    return {};
}

std::string ApplyNumber(const GivenOption& option, uint64_t min, uint64_t max, uint64_t& number) {
    if (!ParseUnsigned(option.value, max, number) || number < min)
        return std::string(option.known->name) + " must be a whole number from " + std::to_string(min) +
               " to " + std::to_string(max) + ", not '" + option.value + "'.";
    return {};
}

std::string ApplyOption(const GivenOption& option, CtlArgs& args) {
    const std::string_view name = option.known->name;
    const std::string& value = option.value;
    uint64_t number = 0;
    std::string error;
    if (name == "--json") {
        args.json = true;
    } else if (name == "--line") {
        args.lineAuto = value == "auto";
        if (!args.lineAuto) error = ParseLineSettings(value, args.line);
    } else if (name == "--name") {
        error = ApplyName(value, args);
    } else if (name == "--uart") {
        error = ParseUartSettings(value, args.settings.uart.emplace());
    } else if (name == "--mode") {
        if (!ParseUnsigned(value, 3, number))
            error = "The operation mode must be 0, 1, 2 or 3, not '" + value + "'.";
        args.settings.opMode = static_cast<uint8_t>(number);
    } else if (name == "--target") {
        error = ApplyTarget(value, args);
    } else if (name == "--responses") {
        error = ApplyOnOff(option, args.settings.responses.emplace());
    } else if (name == "--yes") {
        args.yes = true;
    } else if (name == "--seconds") {
        error = ApplyNumber(option, 1, kMaxSeconds, number);
        args.seconds = static_cast<unsigned>(number);
    } else if (name == "--first") {
        error = ApplyNumber(option, 0, kMaxFirst, args.first);
    } else if (name == "--port") {
        args.port = value;
    } else if (name == "--watch") {
        args.watch = true;
    } else {
        args.trace = true;
    }
    return error;
}

// `name` is "--long" or "-s".
const OptionSpec* FindOption(std::string_view name) {
    const auto it = std::find_if(std::begin(kOptions), std::end(kOptions), [&](const OptionSpec& known) {
        return known.name == name ||
               (name.size() == 2 && known.shortName != '\0' && name[1] == known.shortName);
    });
    return it == std::end(kOptions) ? nullptr : it;
}

// The command's own demands once every option is known.
std::string CheckComplete(const CtlArgs& args) {
    const std::string command = CommandText(args.command);
    if (args.command == Command::None) return "No command given.";
    if ((Bit(args.command) & kModuleCommands) && args.port.empty())
        return "The command " + command + " needs a PORT ('tarnelctl ports' lists them).";
    if ((Bit(args.command) & kSetCommands) && args.settings.Empty() && !args.namePattern)
        return "Nothing to set: give --name, --uart, --mode, --target or --responses.";
    if (args.command == Command::Provision && args.port.empty() == !args.watch)
        return "The command provision needs either --port PORT or --watch.";
    if (args.namePattern) {
        const std::string sample = args.namePattern->Expand(args.first, BdAddr{});
        if (const int error = DeviceNameError(sample))
            return Msg(error) + " (the pattern gives '" + sample + "')";
    }
    return {};
}

// Where the option's name ends in `arg`: at '=' for a long one ("--name=x"),
// after the letter for a short one ("-nx").
std::size_t NameEnd(const std::string& arg) {
    if (arg.rfind("--", 0) == 0) return arg.find('=');
    return arg.size() > 2 ? 2 : std::string::npos;
}

// Reads the option at args[i] (and its value, which may be the next
// argument: then i moves past it).
std::string ReadOption(const std::vector<std::string>& args, std::size_t& i,
                       std::vector<GivenOption>& options) {
    const std::string& arg = args[i];
    const std::size_t nameEnd = NameEnd(arg);
    const bool inlineValue = nameEnd != std::string::npos;
    const OptionSpec* known = FindOption(std::string_view(arg).substr(0, nameEnd));
    if (known == nullptr) return "Unknown option '" + arg.substr(0, nameEnd) + "'.";
    const std::string name(known->name);
    if (std::any_of(options.begin(), options.end(), [&](const auto& o) { return o.known == known; }))
        return "The option " + name + " is given twice.";
    if (!known->takesValue && inlineValue) return "The option " + name + " takes no value.";
    if (known->takesValue && !inlineValue && i + 1 == args.size())
        return "The option " + name + " needs a value.";
    std::string value;
    if (inlineValue)
        value = arg.substr(nameEnd + (arg[nameEnd] == '=' ? 1 : 0));
    else if (known->takesValue)
        value = args[++i];
    options.push_back({known, std::move(value)});
    return {};
}

// A word that is no option: the command, then the PORT of a module command.
std::string ReadWord(const std::string& arg, CtlArgs& result) {
    if (result.command == Command::None) {
        const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                                     [&](const CommandName& c) { return c.name == arg; });
        if (it == std::end(kCommands)) return "Unknown command '" + arg + "'.";
        result.command = it->command;
    } else if ((Bit(result.command) & kModuleCommands) && result.port.empty()) {
        result.port = arg;
    } else {
        return "Unexpected argument '" + arg + "'.";
    }
    return {};
}

std::string ApplyOptions(const std::vector<GivenOption>& options, CtlArgs& result) {
    for (const GivenOption& option : options) {
        if (!(option.known->commands & Bit(result.command)))
            return "The command " + CommandText(result.command) + " does not take " +
                   std::string(option.known->name) + ".";
        if (auto error = ApplyOption(option, result); !error.empty()) return error;
    }
    return {};
}

bool IsOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

}  // namespace

CtlArgs ParseCtlArgs(const std::vector<std::string>& args) {
    CtlArgs result;
    const auto end = std::find(args.begin(), args.end(), "--");
    for (auto arg = args.begin(); arg != end; ++arg) {
        result.help = result.help || *arg == "--help" || *arg == "-h";
        result.version = result.version || *arg == "--version" || *arg == "-V";
    }
    if (result.help || result.version) return result;

    std::vector<GivenOption> options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size() && result.error.empty(); ++i) {
        if (!optionsEnded && args[i] == "--")
            optionsEnded = true;
        else if (!optionsEnded && IsOption(args[i]))
            result.error = ReadOption(args, i, options);
        else
            result.error = ReadWord(args[i], result);
    }
    if (result.error.empty() && result.command != Command::None) result.error = ApplyOptions(options, result);
    if (result.error.empty()) result.error = CheckComplete(result);
    return result;
}

}  // namespace tarnel::ctl
