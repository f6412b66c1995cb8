#include "ctl/SettingsFile.h"

#include <toml++/toml.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "ctl/Sha256.h"

namespace tarnel::ctl {
namespace {

constexpr std::array<std::string_view, 6> kFields{"name", "uart", "mode", "target", "responses", "first"};
// A recipe is a few lines; anything near this is not one.
constexpr std::uintmax_t kMaxSize = 64 * 1024;

enum class Kind { Text, Number, Flag };

Kind KindOf(std::string_view field) {
    if (field == "mode" || field == "first") return Kind::Number;
    return field == "responses" ? Kind::Flag : Kind::Text;
}

std::string Expected(std::string_view field) {
    switch (KindOf(field)) {
        case Kind::Number:
            return std::string(field) + " must be a whole number.";
        case Kind::Flag:
            return std::string(field) + " must be true or false (or \"on\" or \"off\").";
        default:
            return std::string(field) + " must be text in quotes.";
    }
}

std::string UnknownField(const std::string& key) {
    std::string known;
    for (const std::string_view field : kFields)
        known += (known.empty() ? "" : ", ") + std::string(field);
    return "Unknown field '" + key + "' (the fields are " + known + ").";
}

bool Known(const std::string& key) {
    return std::find(kFields.begin(), kFields.end(), key) != kFields.end();
}

// The line of `key` as a member name in JSON text: a quoted name followed by
// a colon, which no string value can hold unescaped.
int JsonLineOf(const std::string& text, const std::string& key) {
    const std::string quoted = nlohmann::json(key).dump();
    for (std::size_t at = text.find(quoted); at != std::string::npos; at = text.find(quoted, at + 1)) {
        const std::size_t after = text.find_first_not_of(" \t\r\n", at + quoted.size());
        if (after != std::string::npos && text[after] == ':' && (at == 0 || text[at - 1] != '\\'))
            return static_cast<int>(
                       std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n')) +
                   1;
    }
    return 0;
}

}  // namespace

std::string SettingsFile::Where(int line) const {
    return m_path + (line > 0 ? ":" + std::to_string(line) : "") + ": ";
}

std::string SettingsFile::Read(const std::string& path) {
    m_path = path;
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) return "The settings file " + path + " could not be read: " + error.message() + ".";
    if (size > kMaxSize) return Where(0) + "This is no settings file: it is larger than 64 KiB.";
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) return "The settings file " + path + " could not be read.";
    m_sha256 = Sha256Hex(text);
    const bool json = path.size() >= 5 && path.compare(path.size() - 5, 5, ".json") == 0;
    return json ? ReadJson(text) : ReadToml(text);
}

std::string SettingsFile::Add(const std::string& name, int line, const Value& value) {
    if (!Known(name)) return Where(line) + UnknownField(name);
    const Kind kind = KindOf(name);
    std::string text;
    if (const auto* given = std::get_if<std::string>(&value); given != nullptr && kind != Kind::Number)
        text = *given;
    else if (const auto* number = std::get_if<int64_t>(&value); number != nullptr && kind == Kind::Number)
        text = std::to_string(*number);
    else if (const auto* flag = std::get_if<bool>(&value); flag != nullptr && kind == Kind::Flag)
        text = *flag ? "on" : "off";
    else
        return Where(line) + Expected(name);
    m_fields.push_back({name, text, line});
    return {};
}

std::string SettingsFile::ReadToml(const std::string& text) {
    toml::table table;
    try {
        table = toml::parse(text, m_path);
    } catch (const toml::parse_error& error) {
        return Where(static_cast<int>(error.source().begin.line)) +
               "Not TOML: " + std::string(error.description()) + ".";
    }
    for (const auto& [key, node] : table) {
        Value value;
        if (const auto* given = node.as_string()) value = given->get();
        if (const auto* number = node.as_integer()) value = number->get();
        if (const auto* flag = node.as_boolean()) value = flag->get();
        if (auto error = Add(std::string(key.str()), static_cast<int>(key.source().begin.line), value);
            !error.empty())
            return error;
    }
    return {};
}

std::string SettingsFile::ReadJson(const std::string& text) {
    nlohmann::json object;
    try {
        object = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& error) {
        const auto end =
            text.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(error.byte, text.size()));
        return Where(static_cast<int>(std::count(text.begin(), end, '\n')) + 1) + "Not JSON: " + error.what();
    }
    if (!object.is_object()) return Where(1) + "The settings must be one JSON object.";
    for (const auto& [name, node] : object.items()) {
        Value value;
        if (node.is_string()) value = node.get<std::string>();
        if (node.is_number_integer()) value = node.get<int64_t>();
        if (node.is_boolean()) value = node.get<bool>();
        if (auto error = Add(name, JsonLineOf(text, name), value); !error.empty()) return error;
    }
    return {};
}

}  // namespace tarnel::ctl
