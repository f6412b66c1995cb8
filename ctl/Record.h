#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tarnel::ctl {

// One result of a command (a port, a module's settings, a device found), as
// named fields in the order they are added, printed as text or as one line of
// JSON.
class Record {
public:
    Record& AddText(std::string key, std::string value);
    Record& AddNumber(std::string key, int64_t value);
    Record& AddFlag(std::string key, bool value);

    // The first field's value as a heading line, then "  key: value" for each
    // other field. Control characters and bytes that are not well-formed
    // UTF-8 are shown as \xNN and a backslash as \\, so that no value can
    // steer the terminal or pass for an escaped byte.
    std::string Text() const;
    // One JSON object with the fields as members, followed by a line feed;
    // text is kept as UTF-8, and every byte outside well-formed UTF-8 becomes
    // U+FFFD, so that any strict parser reads it.
    std::string Json() const;

    std::string Format(bool json) const { return json ? Json() : Text(); }

    // The values as one line of CSV (RFC 4180: a field with a comma, a
    // quote or a space at either end is quoted, a quote doubled; CR LF ends
    // the line), each as Text() shows it, so that no value breaks the line.
    std::string Csv() const;
    // The keys as the header line of Csv().
    std::string CsvHeader() const;

private:
    using Value = std::variant<std::string, int64_t, bool>;
    std::vector<std::pair<std::string, Value>> m_fields;
};

}  // namespace tarnel::ctl
