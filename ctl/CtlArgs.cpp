#include "ctl/CtlArgs.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>
#include <set>
#include <string_view>

#include "ctl/Messages.h"
#include "ctl/OptionTable.h"
#include "ctl/ParseUnsigned.h"
#include "ctl/SettingsFile.h"
#include "module/DeviceNameError.h"
#include "protocol/Utf8SequenceLength.h"

namespace tarnel::ctl {
namespace {

constexpr uint64_t kMaxSeconds = 86400;
constexpr uint64_t kMaxFirst = 999999999;

// What the command line gave, before the values are read.
struct Given {
    std::map<std::string, std::vector<std::string>, std::less<>> values;  // by option name
    std::map<std::string, bool, std::less<>> flags;
    std::string port;
};

std::string Trimmed(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t\r\n\v\f");
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n\v\f") - begin + 1);
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

std::string ApplyOnOff(std::string_view name, const std::string& value, bool& flag) {
    if (value != "on" && value != "off")
        return std::string(name) + " must be on or off, not '" + value + "'.";
    flag = value == "on";
    return {};
}

std::string ApplyNumber(std::string_view name, const std::string& value, uint64_t min, uint64_t max,
                        uint64_t& number) {
    if (!ParseUnsigned(value, max, number) || number < min)
        return std::string(name) + " must be a whole number from " + std::to_string(min) + " to " +
               std::to_string(max) + ", not '" + value + "'.";
    return {};
}

std::string ApplyValue(std::string_view name, const std::string& value, CtlArgs& args) {
    uint64_t number = 0;
    std::string error;
    if (name == "--line") {
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
        error = ApplyOnOff(name, value, args.settings.responses.emplace());
    } else if (name == "--seconds") {
        error = ApplyNumber(name, value, 1, kMaxSeconds, number);
        args.seconds = static_cast<unsigned>(number);
    } else if (name == "--first") {
        error = ApplyNumber(name, value, 0, kMaxFirst, args.first);
    } else if (name == "--port") {
        args.port = value;
    } else if (name == "--report") {
        args.reportPath = value;
    } else if (name == "--state") {
        args.statePath = value;
    } else if (name == "--progress") {
        if (value != "line" && value != "json")
            error = "--progress must be line or json, not '" + value + "'.";
        args.progressJson = value == "json";
    } else {
        args.portGlobs.push_back(value);
    }
    return error;
}

void ApplyFlag(std::string_view name, CtlArgs& args) {
    if (name == "--json")
        args.json = true;
    else if (name == "--yes")
        args.yes = true;
    else if (name == "--watch")
        args.watch = true;
    else if (name == "--verify-only")
        args.verifyOnly = true;
    else if (name == "--dry-run")
        args.dryRun = true;
    else
        args.trace = true;
}

// A name pattern that gives no valid name at the first number.
std::string PatternError(const CtlArgs& args) {
    if (!args.namePattern) return {};
    const std::string sample = args.namePattern->Expand(args.first, BdAddr{});
    if (const int error = DeviceNameError(sample))
        return Msg(error) + " (the pattern gives '" + sample + "')";
    return {};
}

// The file's fields go through the options' own checks; the options given
// on the command line then override them.
std::string ApplySettingsFile(const std::string& path, CtlArgs& args) {
    SettingsFile file;
    if (auto error = file.Read(path); !error.empty()) return error;
    for (const SettingsFile::Field& field : file.Fields()) {
        const std::string where = path + ":" + std::to_string(field.line) + ": ";
        const std::string option = "--" + field.name;
        if (!TakesOption(args.command, option))
            return where + "The command " + std::string(CommandName(args.command)) + " does not take " +
                   field.name + ".";
        if (auto error = ApplyValue(option, field.value, args); !error.empty()) return where + error;
        if (field.name == "name")
            if (auto error = PatternError(args); !error.empty()) return where + error;
    }
    args.settingsPath = path;
    args.settingsSha256 = file.Sha256();
    return {};
}

// The values in the order of the help, so that the first mistake there is
// the one reported.
std::string ApplyGiven(const Given& given, CtlArgs& args) {
    for (const auto& [name, on] : given.flags)
        if (on) ApplyFlag(name, args);
    std::set<std::string_view> done{"--settings"};
    if (const auto settings = given.values.find("--settings");
        settings != given.values.end() && !settings->second.empty()) {
        if (settings->second.size() > 1) return "The option --settings is given twice.";
        if (auto error = ApplySettingsFile(settings->second.front(), args); !error.empty()) return error;
    }
    for (const OptionEntry& entry : OptionEntries()) {
        const auto it = given.values.find(entry.name);
        if (it == given.values.end() || !done.insert(entry.name).second) continue;
        if (it->second.size() > 1 && !entry.repeatable)
            return "The option " + std::string(entry.name) + " is given twice.";
        for (const std::string& value : it->second)
            if (auto error = ApplyValue(entry.name, value, args); !error.empty()) return error;
    }
    return {};
}

// --help and --version are read by hand: they win over every mistake.
bool Asked(const std::vector<std::string>& args, std::string_view name, char shortName) {
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::any_of(args.begin(), end, [&](const std::string& arg) {
        return arg == name || (arg.size() == 2 && arg[0] == '-' && arg[1] == shortName);
    });
}

// The options of `entry` on `app`, bound to `given`.
void AddOption(CLI::App& app, const OptionEntry& entry, Given& given) {
    std::string names(entry.name);
    if (entry.shortName != '\0') names = std::string("-") + entry.shortName + "," + names;
    if (entry.value.empty())
        app.add_flag(names, given.flags[std::string(entry.name)]);
    else
        app.add_option(names, given.values[std::string(entry.name)])->allow_extra_args(false);
}

// Options that every command takes belong to the program and may come
// before the command; the others to the commands that take them.
void AddOptions(CLI::App& app, unsigned commands, Given& given) {
    std::set<std::string_view> added;
    for (const OptionEntry& entry : OptionEntries()) {
        const bool everywhere = entry.commands == kAllCommands;
        const bool wanted =
            commands == kAllCommands ? everywhere : !everywhere && (entry.commands & commands);
        if (!wanted || entry.name == "--help" || entry.name == "--version") continue;
        if (added.insert(entry.name).second) AddOption(app, entry, given);
    }
}

// Why `word`, which no command took, is wrong.
std::string Unexpected(const std::string& word, Command command) {
    if (word.size() > 1 && word[0] == '-') {
        const std::string name = word.substr(0, word.find('='));
        const OptionEntry* entry = FindOption(name);
        if (entry == nullptr) return "Unknown option '" + name + "'.";
        if (command == Command::None) return "No command given.";
        if (TakesOption(command, entry->name))
            return "The option " + std::string(entry->name) + " goes after the command.";
        return "The command " + std::string(CommandName(command)) + " does not take " +
               std::string(entry->name) + ".";
    }
    if (command == Command::None) return "Unknown command '" + word + "'.";
    return "Unexpected argument '" + word + "'.";
}

// CLI11's words, except for the mistake everybody makes: "--line: 1 required
// TEXT missing".
std::string Sentence(const CLI::ParseError& error) {
    std::string text = error.what();
    const std::size_t colon = text.find(':');
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr && text.ends_with(" missing") &&
        colon != std::string::npos)
        return "The option " + text.substr(0, colon) + " needs a value.";
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

std::string ReadCommandLine(const std::vector<std::string>& args, Command& command, Given& given) {
    CLI::App app;
    // CLI11 reads /x as an option on Windows; a port's path is no option
    // there either, and the subcommands inherit the setting.
    app.allow_windows_style_options(false);
    app.set_help_flag();
    app.allow_extras();
    AddOptions(app, kAllCommands, given);
    std::vector<std::pair<Command, CLI::App*>> commands;
    for (auto c = static_cast<unsigned>(Command::Ports); c <= static_cast<unsigned>(Command::Verify); ++c) {
        const auto each = static_cast<Command>(c);
        CLI::App* sub = app.add_subcommand(std::string(CommandName(each)));
        sub->set_help_flag();
        sub->allow_extras();
        sub->fallthrough();
        if (CommandBit(each) & kModuleCommands) sub->add_option("PORT", given.port);
        AddOptions(*sub, CommandBit(each), given);
        commands.emplace_back(each, sub);
    }
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        return Sentence(error);
    }
    std::vector<std::string> extras = app.remaining();
    for (const auto& [each, sub] : commands) {
        if (!sub->parsed()) continue;
        command = each;
        for (const std::string& word : sub->remaining())
            if (word != "--") extras.push_back(word);
    }
    return extras.empty() ? std::string() : Unexpected(extras.front(), command);
}

// The command's own demands once every option is known.
std::string CheckComplete(const CtlArgs& args) {
    const std::string command(CommandName(args.command));
    if (args.command == Command::None) return "No command given.";
    if ((CommandBit(args.command) & kModuleCommands) && args.port.empty())
        return "The command " + command + " needs a PORT ('tarnelctl ports' lists them).";
    if ((CommandBit(args.command) & kSettingsCommands) && args.settings.Empty() && !args.namePattern)
        return std::string(args.command == Command::Verify ? "Nothing to verify against" : "Nothing to set") +
               ": give --name, --uart, --mode, --target or --responses.";
    if (args.command == Command::Provision && args.port.empty() == !args.watch)
        return "The command provision needs either --port PORT or --watch.";
    if (!args.portGlobs.empty() && !args.watch) return "--ports chooses among the ports that --watch finds.";
    if (args.verifyOnly && args.dryRun) return "--verify-only and --dry-run do not go together.";
    return PatternError(args);
}

}  // namespace

CtlArgs ParseCtlArgs(const std::vector<std::string>& args) {
    CtlArgs result;
    result.help = Asked(args, "--help", 'h');
    result.version = Asked(args, "--version", 'V');
    if (result.help) {
        const auto end = std::find(args.begin(), args.end(), "--");
        const auto named = std::find_if(
            args.begin(), end, [](const std::string& arg) { return CommandNamed(arg) != Command::None; });
        if (named != end) result.command = CommandNamed(*named);
    }
    if (result.help || result.version) return result;

    Given given;
    result.error = ReadCommandLine(args, result.command, given);
    if (result.error.empty()) {
        if (!given.port.empty()) result.port = given.port;
        result.error = ApplyGiven(given, result);
    }
    if (result.error.empty()) result.error = CheckComplete(result);
    return result;
}

}  // namespace tarnel::ctl
