#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tarnel::ctl {

// --settings: the target settings of set and provision from a small TOML
// file, or JSON when its name ends in .json. Its fields stand for the options
// of the same names and take their values (name, uart, target as text; mode
// and first as numbers; responses as true or false, or on or off):
//
//   name = "Sensor-{n:03}"
//   uart = "115200,N,1"
//   mode = 1
//   first = 100
class SettingsFile {
public:
    struct Field {
        std::string name;   // "mode"
        std::string value;  // as the option takes it: "1"
        int line;           // where the file has it, from 1
    };

    // Reads `path` (UTF-8). Returns the empty string, or what is wrong, as
    // "FILE:LINE: why" where the file has a line to show.
    std::string Read(const std::string& path);

    const std::vector<Field>& Fields() const { return m_fields; }
    // The SHA-256 of the file as read, so that a record says which recipe a
    // module got.
    const std::string& Sha256() const { return m_sha256; }

private:
    using Value = std::variant<std::monostate, std::string, int64_t, bool>;
    // The field `name` with `value` at `line`, checked against what the field takes.
    std::string Add(const std::string& name, int line, const Value& value);
    std::string ReadToml(const std::string& text);
    std::string ReadJson(const std::string& text);
    std::string Where(int line) const;

    std::string m_path;
    std::vector<Field> m_fields;
    std::string m_sha256;
};

}  // namespace tarnel::ctl
